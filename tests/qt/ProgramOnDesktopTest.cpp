#include "QtFixture.h"

#include "library/FrameworkState.h"
#include "mainwindow/Window1.h"
#include "platforms/qt/QtLabelView.h"
#include "platforms/qt/QtProgressBarView.h"
#include "startup/Program.h"

#include <QDir>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

// Vorpel itself on the desktop platform, started as far as its event loop. Its timer is switched off
// so that only the test ticks, through the timer's own Action path; nothing here waits on the clock.
class QtProgramTest : public testing::Test {
public:
    void SetUp() override
    {
        int argc = 0;
        platform = QtPlatform::create(argc, nullptr);
        RuntimeSetPlatform(platform.get());
        initialize();
        RuntimeSetExceptionHelper(&CallFunctionWithExceptionHandling_);
        EarlyStartup_();
        RunFrameworkInitialization(&LateStartup_);
        window = Window1::instance();
        ASSERT_TRUE(window);
        ::Timer::Mode::Set(timer().ptr(), 0, ::Timer::ModeOff);
        view = platform->windowView(*window);
        ASSERT_TRUE(view);
        ASSERT_TRUE(QTest::qWaitForWindowActive(view));
    }
    void TearDown() override
    {
        shutDown();
        RuntimeSetPlatform(nullptr);
        platform.reset();
    }
    void shutDown()
    {
        if (!window)
            return;
        window = nullptr;
        view = nullptr;
        finalize();
    }

    Ref<::Label> label() { return *Window1::Window1::timertext(window.get()); }
    Ref<::ProgressBar> bar() { return *Window1::Window1::limitbar(window.get()); }
    Ref<::Timer> timer() { return *Window1::Window1::vorpel_timer(window.get()); }
    QtLabelView& labelView() { return *static_cast<QtLabelView*>(platform->controlWidget(*label())); }
    QtProgressBarView& barView() { return *static_cast<QtProgressBarView*>(platform->controlWidget(*bar())); }
    void tick(int times)
    {
        for (int n = 0; n < times; ++n)
            ::Timer::CallAction_(timer().ptr());
        QApplication::processEvents();
    }
    // What the person in front of the screen sees: text, colour and the bar's value.
    void expectShown(const char* text, QColor colour, std::int32_t value)
    {
        EXPECT_EQ(labelView().text().toStdString(), text);
        EXPECT_EQ(labelView().textColor(), colour) << text;
        EXPECT_EQ(bar()->value(), value) << text;
    }

    std::unique_ptr<QtPlatform> platform;
    RefPtr<Window1::Window1> window;
    QtWindowView* view = nullptr;
};

TEST_F(QtProgramTest, OpensFullScreenAtAFullMinuteOverAnEmptyBarWithItsJapaneseMenus)
{
    EXPECT_TRUE(view->isFullScreen());
    EXPECT_EQ(view->geometry(), view->screen()->geometry());
    EXPECT_EQ(
        view->windowTitle().toStdString(), "\xE3\x83\x9C\xE3\x83\xAB\xE3\x83\x9A\xE3\x83\xAB"); // ボルペル
    expectShown("01:00", Qt::black, 0);

    QMenuBar* menus = view->menuBar();
    EXPECT_TRUE(menus->isVisible());
    EXPECT_EQ(describe(*menus), (std::vector<std::string> { "ファイル", "編集" }));
    ASSERT_EQ(menus->actions().size(), 2);
    EXPECT_EQ(describe(*menus->actions()[0]->menu()), (std::vector<std::string> { "終了 [Ctrl+Q]" }));
    EXPECT_EQ(describe(*menus->actions()[1]->menu()),
        (std::vector<std::string> { "取り消す [Ctrl+Z]", "-", "カット [Ctrl+X]", "コピー [Ctrl+C]",
            "貼り付け [Ctrl+V]", "削除", "-", "すべてを選択 [Ctrl+A]" }));
}

TEST_F(QtProgramTest, AClickOnTheLabelOrAKeyStartsTheMinuteAgain)
{
    struct Case {
        const char* what;
        void (*press)(QtProgramTest&);
    };
    const Case cases[] = {
        { "a click on the label",
            [](QtProgramTest& t) { QTest::mouseClick(&t.labelView(), Qt::LeftButton); } },
        { "a click on the bar", [](QtProgramTest& t) { QTest::mouseClick(&t.barView(), Qt::LeftButton); } },
        { "a key", [](QtProgramTest&) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space); } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tick(window->limit - 10);
        expectShown("00:10", QColor(255, 0, 0), 10);
        c.press(*this);
        QApplication::processEvents();
        expectShown("01:00", Qt::black, 60);
        tick(1);
        expectShown("00:59", Qt::black, 59);
    }
}

// After 55 ticks: dark red digits, none black, over a bar filled to 5 of 60.
TEST_F(QtProgramTest, AScreenshotShowsTheColourAndTheFillTheCountCallsFor)
{
    tick(55);
    expectShown("00:05", QColor(128, 0, 0), 5);

    QImage shot = view->grab().toImage();
    QString path = QDir::current().absoluteFilePath(QStringLiteral("qt-screenshot-program-00-05.png"));
    ASSERT_TRUE(shot.save(path)) << path.toStdString();

    QRect labelArea = labelView().geometry().translated(view->content()->pos());
    int darkRed = 0, black = 0;
    for (int y = labelArea.top(); y <= labelArea.bottom(); ++y) {
        for (int x = labelArea.left(); x <= labelArea.right(); ++x) {
            QColor pixel = shot.pixelColor(x, y);
            darkRed += isDarkRed(pixel);
            black += isBlack(pixel);
        }
    }
    EXPECT_GT(darkRed, labelArea.width() * labelArea.height() / 50) << "the digits show in dark red";
    EXPECT_EQ(black, 0) << "no black pixel in the label's area";

    QRect track = barView().trackRect().translated(barView().mapTo(view, QPoint(0, 0)));
    QColor fill = barView().palette().color(QPalette::Active, QPalette::Highlight);
    int filled = 0;
    for (int x = track.left(); x <= track.right(); ++x)
        filled += shot.pixelColor(x, track.center().y()) == fill;
    EXPECT_NEAR(filled, track.width() * 5.0 / 60, 1.0) << "of " << track.width();
}

// Ctrl+Q inside the running loop chooses File > Quit; the program then shuts down with status 0.
TEST_F(QtProgramTest, CtrlQEndsTheProgramWithStatusZero)
{
    bool gaveUp = false;
    QTimer::singleShot(
        0, view, [this] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q, Qt::ControlModifier); });
    // Only a guard against a loop that never ends; the result does not depend on it.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&gaveUp] {
        gaveUp = true;
        RuntimeQuit();
    });
    guard.start(30000);
    RuntimeRun();
    guard.stop();
    EXPECT_FALSE(gaveUp) << "Ctrl+Q did not end the loop";
    shutDown();
    EXPECT_EQ(RuntimeExit(), 0);
}
