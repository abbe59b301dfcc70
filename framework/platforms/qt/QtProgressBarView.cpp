#include "QtProgressBarView.h"

#include "library/ProgressBar.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

QtProgressBarView::QtProgressBarView(QWidget* parent)
    : QWidget(parent)
{
    // Presses go to the window's content, which reports them in its own coordinates.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void QtProgressBarView::syncAll(const ProgressBar& bar)
{
    setRange(bar.value(), bar.maximum());
}

void QtProgressBarView::sync(const ProgressBar& bar, ControlAspect aspect)
{
    if (aspect == ControlAspect::Value || aspect == ControlAspect::Maximum)
        setRange(bar.value(), bar.maximum());
}

void QtProgressBarView::setRange(std::int32_t value, std::int32_t maximum)
{
    if (value == m_value && maximum == m_maximum)
        return;
    int before = filledWidth();
    m_value = value;
    m_maximum = maximum;
    int after = filledWidth();
    if (before == after)
        return;
    QRect track = trackRect();
    update(
        QRect(track.left() + std::min(before, after), track.top(), std::abs(after - before), track.height()));
}

QRect QtProgressBarView::trackRect() const
{
    return rect().adjusted(1, 1, -1, -1);
}

int QtProgressBarView::filledWidth() const
{
    if (m_maximum <= 0)
        return 0;
    double share = std::clamp(static_cast<double>(m_value) / m_maximum, 0.0, 1.0);
    return static_cast<int>(std::lround(share * std::max(0, trackRect().width())));
}

void QtProgressBarView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    QRect track = trackRect();
    painter.setPen(palette().color(group, QPalette::Mid));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.fillRect(track, palette().color(group, QPalette::Base));
    int filled = filledWidth();
    if (filled > 0)
        painter.fillRect(QRect(track.left(), track.top(), filled, track.height()),
            palette().color(group, QPalette::Highlight));
}
