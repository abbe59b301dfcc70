#include "QtPlatform.h"

#include "DeadlineTimer.h"
#include "QtGuardedApplication.h"
#include "QtWindowView.h"
#include "QtX11DestroyWatch.h"
#include "library/FrameworkState.h"
#include "library/PlatformEvents.h"
#include "library/RectControl.h"
#include "library/Window.h"

#include <QApplication>

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
bool isSet(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

// Qt aborts when no platform plugin starts, for instance when DISPLAY names a display that cannot be
// reached. While the application is made, its messages wait here: on that failure the program says why
// in one line and exits with status 1; otherwise they are passed on as they came.
struct StartupMessages {
    QtMessageHandler previous = nullptr;
    std::string program;
    std::vector<std::pair<QtMsgType, QString>> held;
};
StartupMessages* startupMessages = nullptr;

// Started outside a login session (su, ssh, a bare X server) there is no XDG_RUNTIME_DIR, and Qt says
// that it makes a folder of its own instead. It does, and nothing is amiss: that line is no news for the
// person who started the program.
bool isQtRuntimeFolderNotice(const QString& message)
{
    return message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"));
}

// The display a platform plugin connects to, named as the user set it.
QString displayOfPlugin(const QString& plugin)
{
    if (plugin == QLatin1String("wayland")) {
        const char* name = std::getenv("WAYLAND_DISPLAY");
        return QString::fromLocal8Bit(name && *name ? name : "wayland-0");
    }
    if (plugin == QLatin1String("xcb"))
        return QString::fromLocal8Bit(std::getenv("DISPLAY"));
    return {};
}

// Qt tries the session's platforms in turn (Wayland, then X11) and says of each that failed:
//   Could not load the Qt platform plugin "wayland" in "" even though it was found.
// after the plugin's own reason. The line names the displays tried and their reasons, in Qt's order; a
// plugin that had no display set to try (X11 without DISPLAY) is no news.
void reportNoDisplay(const StartupMessages& messages, const QString& fatal)
{
    static const QLatin1String failedPlugin("Could not load the Qt platform plugin \"");
    QStringList displays;
    QStringList reasons;
    QStringList pending;
    for (const auto& held : messages.held) {
        const QString& text = held.second;
        if (!text.startsWith(failedPlugin)) {
            pending << text.trimmed();
            continue;
        }
        QString display = displayOfPlugin(text.mid(failedPlugin.size()).section(QLatin1Char('"'), 0, 0));
        if (!display.isEmpty()) {
            displays << display;
            reasons << pending;
        }
        pending.clear();
    }
    reasons << pending;
    if (reasons.isEmpty())
        reasons << fatal.section(QLatin1Char('\n'), 0, 0);
    QString names = displays.join(QLatin1String(" or "));
    std::fprintf(stderr, "%s: cannot open the desktop display%s%s (%s)\n", messages.program.c_str(),
        names.isEmpty() ? "" : " ", names.toLocal8Bit().constData(),
        reasons.join(QLatin1String("; ")).toLocal8Bit().constData());
    std::fflush(stderr);
}

void holdStartupMessage(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    StartupMessages& messages = *startupMessages;
    if (type != QtFatalMsg) {
        if (!isQtRuntimeFolderNotice(message))
            messages.held.emplace_back(type, message);
        return;
    }
    reportNoDisplay(messages, message);
    std::_Exit(1);
}

// When the display goes away, Qt says so and ends the process, but the Wayland plugin can notice it on
// two threads at once and say it twice. The first one says it; the process ends there with status 1.
QtMessageHandler runningPrevious = nullptr;
std::atomic_flag displayLost = ATOMIC_FLAG_INIT;

void passRunningMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.startsWith(QLatin1String("The Wayland connection broke"))
        || message.startsWith(QLatin1String("The X11 connection broke"))) {
        if (displayLost.test_and_set()) {
            for (;;)
                pause();
        }
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
        std::fflush(stderr);
        std::_Exit(1);
    }
    if (runningPrevious)
        runningPrevious(type, context, message);
    else
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

std::string programName(int argc, char** argv)
{
    std::string path = argc > 0 && argv && argv[0] ? argv[0] : "vorpel";
    return path.substr(path.find_last_of('/') + 1);
}

std::unique_ptr<QApplication> makeApplication(int& argc, char** argv)
{
    StartupMessages messages;
    messages.program = programName(argc, argv);
    startupMessages = &messages;
    messages.previous = qInstallMessageHandler(&holdStartupMessage);
    std::unique_ptr<QApplication> application = std::make_unique<QtGuardedApplication>(argc, argv);
    qInstallMessageHandler(messages.previous);
    startupMessages = nullptr;
    runningPrevious = qInstallMessageHandler(&passRunningMessage);
    QMessageLogContext context;
    for (const auto& [type, text] : messages.held)
        qt_message_output(type, context, text);
    return application;
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
        owned = makeApplication(argc, argv);
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
        std::fprintf(stderr, "%s: %s\n", programName(argc, argv).c_str(), error.what());
        return nullptr;
    }
}

QtPlatform::QtPlatform(std::unique_ptr<QApplication> ownedApplication)
    : m_ownedApplication(std::move(ownedApplication))
    , m_timers(std::make_unique<DeadlineTimer>([](Timer& timer) { RuntimeDeliverTimerDue(timer); }))
    , m_destroyWatch(std::make_unique<QtX11DestroyWatch>([this](WId id) { nativeWindowDestroyed(id); }))
{
    // The library decides when the last window's close ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    QCoreApplication::instance()->installNativeEventFilter(m_destroyWatch.get());
}

QtPlatform::~QtPlatform()
{
    if (framework().platform() == this)
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
    for (const auto& [shown, view] : m_views) {
        if (view->internalWinId() != id)
            continue;
        if (Window* window = view->window())
            RuntimeDeliverWindowGone(*window);
        return;
    }
}

QtWindowView* QtPlatform::windowView(const Window& window) const
{
    auto found = m_views.find(&window);
    return found == m_views.end() ? nullptr : found->second;
}

QWidget* QtPlatform::controlWidget(const RectControl& control) const
{
    Window* window = control.window.get();
    QtWindowView* view = window ? windowView(*window) : nullptr;
    return view ? view->controlWidget(control) : nullptr;
}
