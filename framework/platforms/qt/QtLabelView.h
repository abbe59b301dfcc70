#pragma once

#include "library/Platform.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

class Label;

// Shows a Label: its text in its colour and font, aligned left, centred or right and centred
// vertically. A text change whose width stays the same (a countdown's digits) repaints only the glyphs
// that changed; nothing about it ever changes the window's layout.
class QtLabelView final : public QWidget {
public:
    explicit QtLabelView(QWidget* parent);

    // Reads what changed from the label.
    void sync(const Label&, ControlAspect);
    void syncAll(const Label&);

    void setText(const QString&);
    void setTextColor(const QColor&);
    void setTextFont(const QFont&);
    void setHorizontalAlignment(Qt::Alignment);
    void setMultiLine(bool);

    const QString& text() const { return m_text; }
    const QColor& textColor() const { return m_color; }
    // The font the text is painted in: the label's own, made smaller when a single line would not fit.
    QFont paintFont() const;
    // Where a single line of text is painted, in the view's coordinates.
    QRectF textRect() const;

    // The label's font: "System" is the application's default family; a size of 0 keeps its size.
    static QFont fontFor(const Label&);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    struct Line {
        QFont font;
        QString text;
        qreal x = 0;
        qreal baseline = 0;
        qreal width = 0;
    };
    Line layoutLine(const QString&) const;
    QRect changedArea(const Line& before, const Line& after) const;

    QString m_text;
    QColor m_color = Qt::black;
    QFont m_font;
    Qt::Alignment m_alignment = Qt::AlignLeft;
    bool m_multiLine = false;
};
