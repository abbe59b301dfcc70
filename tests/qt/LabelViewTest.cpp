#include "QtFixture.h"

#include "platforms/qt/QtLabelView.h"
#include "platforms/qt/QtProgressBarView.h"

#include <QFontMetricsF>

namespace {
Ref<Label> makeLabel(const char* font, float size, bool bold, bool italic, bool underline)
{
    Ref<Label> label = newObject<Label>();
    setProperty(*label, "TextFont", String::create(font).ptr());
    setProperty(*label, "TextSize", size);
    setProperty(*label, "Bold", bold);
    setProperty(*label, "Italic", italic);
    setProperty(*label, "Underline", underline);
    return label;
}
} // namespace

class QtLabelViewTest : public QtTest { };

TEST_F(QtLabelViewTest, FontsComeFromTheLabelWithSystemAsTheDesktopsFont)
{
    QFont desktop = QApplication::font();
    struct Case {
        const char* family;
        float size;
        bool bold, italic, underline;
        QString expectedFamily;
        qreal expectedPoints;
    };
    const Case cases[] = {
        { "System", 256, true, false, false, desktop.family(), 256 },
        { "System", 0, false, true, true, desktop.family(), desktop.pointSizeF() },
        { "", 12.5f, false, false, false, desktop.family(), 12.5 },
        { "DejaVu Serif", 20, false, false, true, QStringLiteral("DejaVu Serif"), 20 },
    };
    for (const Case& c : cases) {
        QFont font = QtLabelView::fontFor(makeLabel(c.family, c.size, c.bold, c.italic, c.underline).get());
        EXPECT_EQ(font.family(), c.expectedFamily) << c.family;
        EXPECT_DOUBLE_EQ(font.pointSizeF(), c.expectedPoints) << c.family << " " << c.size;
        EXPECT_EQ(font.bold(), c.bold);
        EXPECT_EQ(font.italic(), c.italic);
        EXPECT_EQ(font.underline(), c.underline);
    }
}

TEST_F(QtLabelViewTest, TextIsAlignedAcrossAndCentredDown)
{
    QWidget parent;
    QtLabelView labelWidget(&parent);
    labelWidget.setGeometry(0, 0, 400, 100);
    labelWidget.setText(QStringLiteral("00:14"));
    for (auto [align, expectedLeft] : { std::pair { Qt::AlignLeft, 0.0 }, std::pair { Qt::AlignHCenter, 0.5 },
             std::pair { Qt::AlignRight, 1.0 } }) {
        labelWidget.setHorizontalAlignment(align);
        QRectF text = labelWidget.textRect();
        EXPECT_NEAR(text.left(), expectedLeft * (400 - text.width()), 0.5) << align;
        EXPECT_NEAR(text.center().y(), 50, 0.5) << align;
    }
}

TEST_F(QtLabelViewTest, OneLineTextShowsWholeInItsLabel)
{
    QWidget parent;
    QtLabelView labelWidget(&parent);
    QFont huge = QApplication::font();
    huge.setPointSizeF(256);
    huge.setBold(true);
    labelWidget.setTextFont(huge);
    labelWidget.setHorizontalAlignment(Qt::AlignHCenter);
    struct Case {
        QSize size;
        const char* text;
        bool keepsItsSize;
    };
    const Case cases[] = {
        { QSize(1872, 990), "01:00", true }, // the label of a 1920 by 1080 full screen
        { QSize(728, 388), "01:00", false }, // the design size
        { QSize(200, 40), "01:00", false },
        { QSize(1872, 990), "00\n14", true }, // one line: the break shows as a space
    };
    for (const Case& c : cases) {
        labelWidget.resize(c.size);
        labelWidget.setText(QString::fromUtf8(c.text));
        QRectF text = labelWidget.textRect();
        EXPECT_TRUE(QRectF(labelWidget.rect()).contains(text))
            << c.size.width() << "x" << c.size.height() << " " << c.text;
        EXPECT_EQ(labelWidget.paintFont().pointSizeF() == 256, c.keepsItsSize)
            << c.size.width() << " " << c.text;
        EXPECT_NEAR(text.height(), QFontMetricsF(labelWidget.paintFont()).height(), 0.01) << "one line";
    }
}

TEST_F(QtLabelViewTest, ATickRepaintsOnlyTheChangedGlyphsAndTheBarsChangedSpanWithoutLayout)
{
    openCountdownWindow();
    Ref<String> before = "00:15"_s;
    Label::Text::Set(label.get(), 0, before.ptr());
    ProgressBar::Value::Set(bar.get(), 0, 15);
    QApplication::processEvents();

    struct Recorder final : QObject {
        std::vector<std::pair<QObject*, QRegion>> paints;
        int relayouts = 0;
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                paints.emplace_back(watched, static_cast<QPaintEvent*>(event)->region());
            if (event->type() == QEvent::Move || event->type() == QEvent::Resize
                || event->type() == QEvent::LayoutRequest)
                ++relayouts;
            return false;
        }
    } recorder;
    for (QWidget* watched : { static_cast<QWidget*>(view), view->content(), labelView(), barView() })
        watched->installEventFilter(&recorder);

    Ref<String> after = "00:14"_s;
    Label::Text::Set(label.get(), 0, after.ptr());
    ProgressBar::Value::Set(bar.get(), 0, 14);
    QApplication::processEvents();

    auto* text = static_cast<QtLabelView*>(labelView());
    QRectF shown = text->textRect();
    QRect labelPaint, barPaint;
    for (auto& [widget, region] : recorder.paints) {
        if (widget == labelView())
            labelPaint |= region.boundingRect();
        else if (widget == barView())
            barPaint |= region.boundingRect();
    }
    ASSERT_FALSE(labelPaint.isEmpty());
    EXPECT_GT(labelPaint.left(), shown.left() + shown.width() / 2) << "only the last digit changed";
    EXPECT_GE(labelPaint.right(), shown.right() - shown.width() / 5);
    QRect track = static_cast<QtProgressBarView*>(barView())->trackRect();
    ASSERT_FALSE(barPaint.isEmpty());
    EXPECT_LE(barPaint.width(), track.width() / 60 + 2) << "one sixtieth of the track";
    EXPECT_NEAR(barPaint.left(), track.left() + track.width() * 14.0 / 60, 2);
    EXPECT_EQ(recorder.relayouts, 0);
}
