#include "QtFixture.h"

#include "platforms/qt/QtProgressBarView.h"

#include <QDir>
#include <QImage>
#include <QPixmap>

class QtScreenshotTest : public QtTest { };

// What a person sees at 14 seconds left: red digits, never black, over a bar filled to 14 of 60.
TEST_F(QtScreenshotTest, RedDigitsOverABarFilledToFourteenSixtieths)
{
    openCountdownWindow();
    Ref<String> text = "00:14"_s;
    Label::Text::Set(label.get(), 0, text.ptr());
    Label::TextColor::Set(label.get(), 0, Color { 255, 0, 0, 0 });
    ProgressBar::Value::Set(bar.get(), 0, 14);
    QApplication::processEvents();

    QImage shot = view->grab().toImage();
    QString path = QDir::current().absoluteFilePath(QStringLiteral("qt-screenshot-00-14.png"));
    ASSERT_TRUE(shot.save(path)) << path.toStdString();
    RecordProperty("screenshot", path.toStdString());

    QRect labelArea = labelView()->geometry().translated(view->content()->pos());
    int red = 0, black = 0;
    for (int y = labelArea.top(); y <= labelArea.bottom(); ++y) {
        for (int x = labelArea.left(); x <= labelArea.right(); ++x) {
            QColor pixel = shot.pixelColor(x, y);
            red += isRed(pixel);
            black += isBlack(pixel);
        }
    }
    EXPECT_GT(red, labelArea.width() * labelArea.height() / 50) << "the digits show in red";
    EXPECT_EQ(black, 0) << "no black pixel in the label's area";

    auto* barWidget = static_cast<QtProgressBarView*>(barView());
    QRect track = barWidget->trackRect().translated(barWidget->mapTo(view, QPoint(0, 0)));
    QColor fill = barWidget->palette().color(QPalette::Active, QPalette::Highlight);
    int filled = 0;
    for (int x = track.left(); x <= track.right(); ++x)
        filled += shot.pixelColor(x, track.center().y()) == fill;
    EXPECT_NEAR(filled, track.width() * 14.0 / 60, 1.0) << "of " << track.width();
    for (int x = track.left(); x < track.left() + filled; ++x)
        ASSERT_EQ(shot.pixelColor(x, track.center().y()), fill) << "the fill starts at the left, unbroken";
}
