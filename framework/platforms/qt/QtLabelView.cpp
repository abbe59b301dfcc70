#include "QtLabelView.h"

#include "QtText.h"
#include "library/Label.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {
Qt::Alignment alignmentFor(std::int32_t textAlign)
{
    switch (textAlign) {
    case 1:
        return Qt::AlignHCenter;
    case 2:
        return Qt::AlignRight;
    default:
        return Qt::AlignLeft;
    }
}

// A single line shows line breaks as spaces.
QString singleLine(const QString& text)
{
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    line.replace(u'\n', u' ');
    line.replace(u'\r', u' ');
    return line;
}
} // namespace

QtLabelView::QtLabelView(QWidget* parent)
    : QWidget(parent)
    , m_font(QApplication::font())
{
    // Presses go to the window's content, which reports them in its own coordinates.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QFont QtLabelView::fontFor(const Label& label)
{
    QFont font = QApplication::font();
    std::string_view family = label.textFont().bytes();
    if (!family.empty() && family != "System")
        font.setFamily(QtFromUtf8(family));
    // Every unit is read as points, the only one the designs use.
    if (label.textSize() > 0)
        font.setPointSizeF(static_cast<qreal>(label.textSize()));
    font.setBold(label.bold());
    font.setItalic(label.italic());
    font.setUnderline(label.underline());
    return font;
}

void QtLabelView::syncAll(const Label& label)
{
    setTextFont(fontFor(label));
    setTextColor(QColor(label.textColor().red, label.textColor().green, label.textColor().blue));
    setHorizontalAlignment(alignmentFor(label.textAlign()));
    setMultiLine(label.multiLine());
    setText(QtFromUtf8(label.text()));
}

void QtLabelView::sync(const Label& label, ControlAspect aspect)
{
    switch (aspect) {
    case ControlAspect::Text:
        setText(QtFromUtf8(label.text()));
        break;
    case ControlAspect::TextColor:
        setTextColor(QColor(label.textColor().red, label.textColor().green, label.textColor().blue));
        break;
    case ControlAspect::Font:
        setTextFont(fontFor(label));
        break;
    case ControlAspect::Alignment:
        setHorizontalAlignment(alignmentFor(label.textAlign()));
        setMultiLine(label.multiLine());
        break;
    default:
        break;
    }
}

void QtLabelView::setText(const QString& text)
{
    if (text == m_text)
        return;
    if (m_multiLine) {
        m_text = text;
        update();
        return;
    }
    Line before = layoutLine(m_text);
    m_text = text;
    QRect area = changedArea(before, layoutLine(m_text));
    if (area.isEmpty())
        update();
    else
        update(area);
}

void QtLabelView::setTextColor(const QColor& color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void QtLabelView::setTextFont(const QFont& font)
{
    if (font == m_font)
        return;
    m_font = font;
    update();
}

void QtLabelView::setHorizontalAlignment(Qt::Alignment alignment)
{
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    update();
}

void QtLabelView::setMultiLine(bool multiLine)
{
    if (multiLine == m_multiLine)
        return;
    m_multiLine = multiLine;
    update();
}

QtLabelView::Line QtLabelView::layoutLine(const QString& text) const
{
    Line line;
    line.text = singleLine(text);
    line.font = m_font;
    QFontMetricsF metrics(line.font, this);
    line.width = metrics.horizontalAdvance(line.text);
    // A caption too big for the label is painted smaller rather than cut: the whole of it stays seen.
    // Glyphs do not scale exactly with the size, so a first guess can stay a pixel too wide: try again.
    for (int attempt = 0; attempt < 4 && width() > 0 && height() > 0; ++attempt) {
        qreal fit = 1;
        if (line.width > width() && line.width > 0)
            fit = width() / line.width;
        if (metrics.height() > height() && metrics.height() > 0)
            fit = std::min(fit, height() / metrics.height());
        if (fit >= 1)
            break;
        if (line.font.pointSizeF() > 0) {
            qreal points = std::floor(line.font.pointSizeF() * fit * 100) / 100;
            if (points >= line.font.pointSizeF())
                points = line.font.pointSizeF() - 0.01;
            line.font.setPointSizeF(std::max<qreal>(points, 1));
        } else {
            int pixels = static_cast<int>(line.font.pixelSize() * fit);
            if (pixels >= line.font.pixelSize())
                pixels = line.font.pixelSize() - 1;
            line.font.setPixelSize(std::max(1, pixels));
        }
        metrics = QFontMetricsF(line.font, this);
        line.width = metrics.horizontalAdvance(line.text);
    }
    if (m_alignment & Qt::AlignHCenter)
        line.x = (width() - line.width) / 2;
    else if (m_alignment & Qt::AlignRight)
        line.x = width() - line.width;
    line.baseline = (height() - metrics.height()) / 2 + metrics.ascent();
    return line;
}

QRect QtLabelView::changedArea(const Line& before, const Line& after) const
{
    // Only a change that keeps every unchanged glyph in place can be repainted in part.
    if (before.font != after.font || std::abs(before.width - after.width) > 0.01 || before.x != after.x)
        return {};
    const QString& a = before.text;
    const QString& b = after.text;
    qsizetype prefix = 0;
    while (prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix
        && a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix])
        ++suffix;
    QFontMetricsF metrics(after.font, this);
    qreal start = after.x + metrics.horizontalAdvance(b.left(prefix));
    // The changed glyphs' ink may reach past their advance (bearings, italics): take both texts' ink.
    QRectF ink = metrics.boundingRect(a.mid(prefix, a.size() - prefix - suffix))
                     .united(metrics.boundingRect(b.mid(prefix, b.size() - prefix - suffix)))
                     .translated(start, 0);
    qreal end = after.x + after.width - metrics.horizontalAdvance(b.right(suffix));
    qreal left = std::min(start, ink.left()) - 2;
    qreal right = std::max(end, ink.right()) + 2;
    QRect area(static_cast<int>(std::floor(left)), 0, static_cast<int>(std::ceil(right - left)), height());
    return area.intersected(rect());
}

QFont QtLabelView::paintFont() const
{
    return m_multiLine ? m_font : layoutLine(m_text).font;
}

QRectF QtLabelView::textRect() const
{
    Line line = layoutLine(m_text);
    QFontMetricsF metrics(line.font, this);
    return QRectF(line.x, line.baseline - metrics.ascent(), line.width, metrics.height());
}

void QtLabelView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(m_color);
    if (m_multiLine) {
        painter.setFont(m_font);
        painter.drawText(rect(), static_cast<int>(m_alignment | Qt::AlignVCenter | Qt::TextWordWrap), m_text);
        return;
    }
    Line line = layoutLine(m_text);
    painter.setFont(line.font);
    painter.drawText(QPointF(line.x, line.baseline), line.text);
}
