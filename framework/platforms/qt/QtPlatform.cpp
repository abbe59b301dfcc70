#include "QtPlatform.h"

#include "DeadlineTimer.h"
#include "QtDisplayMessages.h"
#include "QtGuardedApplication.h"
#include "QtWindowView.h"
#include "QtX11DestroyWatch.h"
#include "library/FrameworkState.h"
#include "library/PlatformEvents.h"
#include "library/RectControl.h"
#include "library/Window.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {
bool isSet(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}
} // namespace

bool QtPlatformDisplayAvailable()
{
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM");
}

std::unique_ptr<QtPlatform> QtPlatform::create(int& argc, char** argv)
{
    std::unique_ptr<QApplication> owned;
    if (!QApplication::instance()) {
        if (!QtPlatformDisplayAvailable())
            throw QtPlatformError(kQtNoDisplayMessage);
        owned = QtMakeProgramApplication(argc, argv);
    } else if (!qobject_cast<QApplication*>(QApplication::instance())) {
        throw QtPlatformError("the running Qt application has no widgets (it is not a QApplication)");
    }
    return std::unique_ptr<QtPlatform>(new QtPlatform(std::move(owned)));
}

std::unique_ptr<QtPlatform> QtPlatform::createForProgram(int& argc, char** argv)
{
    try {
        return create(argc, argv);
    } catch (const std::exception& error) {
        // No display, or the system refused what the platform needs (its timer, say).
        std::fprintf(stderr, "%s: %s\n", QtProgramName(argc, argv).c_str(), error.what());
        return nullptr;
    }
}

QtPlatform::QtPlatform(std::unique_ptr<QApplication> ownedApplication)
    : m_ownedApplication(std::move(ownedApplication))
    , m_timers(std::make_unique<DeadlineTimer>(&RuntimeDeliverTimerDue))
    , m_destroyWatch(std::make_unique<QtX11DestroyWatch>([this](WId id) { nativeWindowDestroyed(id); }))
{
    // The library decides when the last window's close ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    QCoreApplication::instance()->installNativeEventFilter(m_destroyWatch.get());
}

QtPlatform::~QtPlatform()
{
    if (framework().platformIfChosen() == this)
        RuntimeSetPlatform(nullptr);
    for (auto& [window, view] : m_views) {
        view->detach();
        delete view;
    }
    m_views.clear();
    // Views of closed windows wait for deferred deletion; they must go while Qt is still here.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void QtPlatform::showWindow(Window& window)
{
    auto found = m_views.find(&window);
    if (found != m_views.end()) {
        found->second->sync(WindowAspect::Visibility);
        return;
    }
    auto* view = new QtWindowView(window);
    m_views.emplace(&window, view);
    view->present();
}

void QtPlatform::windowChanged(Window& window, WindowAspect aspect)
{
    if (QtWindowView* view = windowView(window))
        view->sync(aspect);
}

void QtPlatform::windowClosed(Window& window)
{
    auto found = m_views.find(&window);
    if (found == m_views.end())
        return;
    QtWindowView* view = found->second;
    m_views.erase(found);
    view->detach();
    view->hide();
    // This may run inside one of the view's own event handlers (its close button, a key).
    view->deleteLater();
}

void QtPlatform::controlChanged(RectControl& control, ControlAspect aspect)
{
    if (Window* window = control.window.get()) {
        if (QtWindowView* view = windowView(*window))
            view->syncControl(control, aspect);
    }
}

void QtPlatform::scheduleTimer(Timer& timer, Clock::time_point deadline)
{
    m_timers->schedule(timer, deadline);
}

void QtPlatform::cancelTimer(Timer& timer)
{
    m_timers->cancel(timer);
}

void QtPlatform::run()
{
    if (m_quitPending) {
        m_quitPending = false;
        return;
    }
    m_running = true;
    QApplication::exec();
    m_running = false;
    m_quitPending = false;
    if (auto* guarded = dynamic_cast<QtGuardedApplication*>(QCoreApplication::instance())) {
        if (std::exception_ptr escaped = guarded->takeEscaped())
            std::rethrow_exception(escaped);
    }
}

void QtPlatform::quit()
{
    // exit() rather than quit(): a quit request would first ask every window to close, and our windows
    // pass that question to the library instead of closing.
    if (m_running)
        QCoreApplication::exit(0);
    else
        m_quitPending = true;
}

void QtPlatform::nativeWindowDestroyed(unsigned long long id)
{
    // Our own windows that Qt destroyed (closed ones, or ones remade for new flags) are no longer shown
    // under that id, so only a window destroyed behind Qt's back is found.
    Window* window = nullptr;
    for (const auto& [shown, view] : m_views) {
        if (view->internalWinId() == id) {
            window = view->window();
            break;
        }
    }
    if (!window)
        return;
    // A display that is going away destroys our windows before it drops us: that is a lost display, not
    // a window another program destroyed.
    if (auto cause = m_destroyWatch->causeOf(id); cause != QtX11DestroyWatch::Cause::Destroyed)
        QtEndWithLine(QtX11DestroyWatch::lostDisplayLine(cause));
    RuntimeDeliverWindowGone(*window);
}

QtWindowView* QtPlatform::windowView(const Window& window) const
{
    auto found = m_views.find(&window);
    return found == m_views.end() ? nullptr : found->second;
}
