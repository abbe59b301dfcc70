#include "QtFixture.h"

#include "library/FrameworkState.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

#include <xcb/xcb.h>

#include <functional>

namespace {
// Records the size of each top-level window at the moment it is first shown.
class ShowRecorder final : public QObject {
public:
    std::vector<QSize> sizes;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto* widget = qobject_cast<QWidget*>(watched); widget && widget->isWindow())
                sizes.push_back(widget->size());
        }
        return false;
    }
};

QRect frameOf(const RectControl& control)
{
    return { control.frame().left, control.frame().top, control.frame().width, control.frame().height };
}
} // namespace

class QtWindowViewTest : public QtTest {
protected:
    // Runs the loop, does what ends the window from inside it, and checks that the window closed and the
    // loop ended on its own: the failure is reached only when it went on.
    void expectTheLoopEndsAfter(const std::function<void()>& act, const char* failure)
    {
        QObject guard; // whatever is still queued for it goes with the test
        QTimer::singleShot(0, &guard, [&] {
            act();
            QMetaObject::invokeMethod(
                &guard,
                [failure] {
                    ADD_FAILURE() << failure;
                    QCoreApplication::exit(1);
                },
                Qt::QueuedConnection);
        });
        RuntimeRun();
        EXPECT_TRUE(framework().windows().empty());
        EXPECT_FALSE(window->isOpen());
        EXPECT_TRUE(framework().quitRequested());
        EXPECT_EQ(platform->windowView(*window), nullptr);
    }
};

TEST_F(QtWindowViewTest, AFullScreenWindowFirstShowsAtTheScreensSizeWithItsControlsInPlace)
{
    ShowRecorder recorder;
    qApp->installEventFilter(&recorder);
    openCountdownWindow(true);
    qApp->removeEventFilter(&recorder);
    QRect screen = QGuiApplication::primaryScreen()->geometry();
    ASSERT_FALSE(recorder.sizes.empty());
    EXPECT_EQ(recorder.sizes.front(), screen.size()) << "never shown at its design size first";
    EXPECT_TRUE(view->isFullScreen());
    EXPECT_EQ(view->geometry(), screen);
    EXPECT_EQ(view->windowTitle().toStdString(), "\xE3\x83\x9C\xE3\x83\xAB");
    QSize content = view->content()->size();
    EXPECT_EQ(window->contentWidth(), content.width());
    EXPECT_EQ(window->contentHeight(), content.height());
    EXPECT_EQ(frameOf(*bar), QRect(20, content.height() - 42, content.width() - 40, 22));
    EXPECT_EQ(labelView()->geometry(), frameOf(*label));
    EXPECT_EQ(barView()->geometry(), frameOf(*bar));
}

// The window manager's "leave full screen" reaches the view as a state change it did not ask for. The
// window must not keep the screen's size with its title bar above the top edge and no limits.
TEST_F(QtWindowViewTest, TakenOutOfFullScreenByTheWindowManagerItComesBackAtItsOwnSizeAndLimits)
{
    openCountdownWindow(true);
    apply(*window, { { "MinWidth", 64 }, { "MinHeight", 64 } });
    EXPECT_EQ(view->minimumSize(), QSize(0, 0)) << "no limit stands in the way of full screen";

    view->setWindowState(Qt::WindowNoState);
    QApplication::processEvents();

    int menu = view->menuBar()->height();
    EXPECT_FALSE(view->isFullScreen());
    EXPECT_EQ(view->size(), QSize(776, 456 + menu));
    QRect area = view->screen()->availableGeometry();
    EXPECT_TRUE(area.contains(view->geometry())) << "placed on the screen, not above it";
    EXPECT_LE((view->geometry().center() - area.center()).manhattanLength(), 2) << "in the middle";
    EXPECT_EQ(view->minimumSize(), QSize(64, 64 + menu));
    EXPECT_EQ(labelView()->geometry(), QRect(20, 14, 728, 388)) << "the controls follow";
    EXPECT_EQ(barView()->geometry(), QRect(20, 414, 736, 22));
    EXPECT_TRUE(window->fullScreen()) << "the view changes nothing in the library";
}

TEST_F(QtWindowViewTest, ControlsFollowTheirLocksWhileTheWindowIsResized)
{
    openCountdownWindow();
    EXPECT_EQ(view->content()->size(), QSize(776, 456))
        << "a window that is not full screen opens at its size";
    for (QSize size : { QSize(1000, 700), QSize(300, 200), QSize(776, 456) }) {
        view->resize(size.width(), size.height() + view->menuBar()->height());
        ASSERT_EQ(view->content()->size(), size);
        EXPECT_EQ(labelView()->geometry(), QRect(20, 14, size.width() - 48, size.height() - 68))
            << size.width();
        EXPECT_EQ(barView()->geometry(), QRect(20, size.height() - 42, size.width() - 40, 22))
            << size.width();
    }
}

TEST_F(QtWindowViewTest, SizeLimitsButtonsAndBackgroundFollowTheWindow)
{
    openCountdownWindow();
    int menu = view->menuBar()->height();
    apply(*window, { { "MinWidth", 200 }, { "MinHeight", 100 }, { "MaxWidth", 1200 }, { "MaxHeight", 900 } });
    EXPECT_EQ(view->minimumSize(), QSize(200, 100 + menu));
    EXPECT_EQ(view->maximumSize(), QSize(1200, 900 + menu));
    EXPECT_FALSE(view->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(view->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(view->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(view->content()->autoFillBackground()) << "no back colour: the desktop's own background";

    apply(*window,
        { { "Resizeable", false }, { "CloseButton", false }, { "HasBackColor", true },
            { "BackColor", Color { 10, 20, 30, 0 } } });
    EXPECT_EQ(view->minimumSize(), QSize(776, 456 + menu));
    EXPECT_EQ(view->maximumSize(), QSize(776, 456 + menu));
    EXPECT_FALSE(view->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(view->isVisible()) << "new flags leave the window shown";
    EXPECT_TRUE(view->content()->autoFillBackground());
    EXPECT_EQ(view->content()->palette().color(QPalette::Window), QColor(10, 20, 30));
}

TEST_F(QtWindowViewTest, ClosingTheWindowEndsTheApplication)
{
    openCountdownWindow();
    expectTheLoopEndsAfter([&] { view->close(); }, "the loop went on after the window closed");
}

TEST_F(QtWindowViewTest, AWindowTheXServerDestroysClosesAndEndsTheApplication)
{
    openCountdownWindow();
    // The X server's word that a window is gone, as Qt's X11 platform passes it to native event filters;
    // sent is the mark of an event that another client made up.
    auto destroyNotify = [](WId id, bool sent) {
        xcb_destroy_notify_event_t event {};
        event.response_type = static_cast<std::uint8_t>(XCB_DESTROY_NOTIFY | (sent ? 0x80 : 0));
        event.event = static_cast<xcb_window_t>(id);
        event.window = static_cast<xcb_window_t>(id);
        qintptr result = 0;
        QAbstractEventDispatcher::instance()->filterNativeEvent("xcb_generic_event_t", &event, &result);
    };
    WId id = view->internalWinId();
    ASSERT_NE(id, 0u);
    destroyNotify(id + 1, false);
    destroyNotify(id, true);
    EXPECT_TRUE(window->isOpen()) << "another window's end, or a made-up one, closes nothing";

    expectTheLoopEndsAfter(
        [&] { destroyNotify(id, false); }, "the loop went on after the window was destroyed");
}
