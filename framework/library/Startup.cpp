#include "Startup.h"

#include "ActionNotificationReceiver.h"
#include "ActionSource.h"
#include "Application.h"
#include "Control.h"
#include "Label.h"
#include "MenuBar.h"
#include "PaneChild.h"
#include "Platform.h"
#include "ProgressBar.h"
#include "QuitMenuItem.h"
#include "RectControl.h"
#include "Timer.h"
#include "Window.h"
#include "runtime/Assert.h"
#include "runtime/CallTrace.h"
#include "runtime/Delegate.h"
#include "runtime/FaultInjection.h"
#include "runtime/MainThread.h"

#include <cstdio>

namespace {
void buildClassTables()
{
    Object::ctblinit();
    Delegate::ctblinit();
    PaneChild_::lookup();
    actionSource::lookup();
    actionNotificationReceiver::lookup();
    Application::ctblinit();
    Window::ctblinit();
    Control::ctblinit();
    RectControl::ctblinit();
    Label::ctblinit();
    ProgressBar::ctblinit();
    Timer::ctblinit();
    MenuItem::ctblinit();
    MenuBar::ctblinit();
    QuitMenuItem::ctblinit();
}
} // namespace

void RuntimeInitExternalClasses()
{
    TracedCall trace("RuntimeInitExternalClasses");
    VORPEL_ASSERT(QuitMenuItem::ctbl, "RuntimeLibraryInitialize has not run");
}

void RuntimeLibraryInitialize()
{
    TracedCall trace("RuntimeLibraryInitialize");
    framework().beginRun(RuntimeFinalizerFailureCount());
    buildClassTables();
}

void RuntimeLibraryFinalize()
{
    TracedCall trace("RuntimeLibraryFinalize");
    // Shut-down goes on whatever a window's Close handler raises; the report makes the exit status 1.
    RuntimeCloseAllWindows([](RuntimeException* exception) { RuntimeUnhandledException(exception); });
    framework().setApplication(nullptr);
    framework().setExceptionHelper(nullptr);
}

void RuntimeSetExceptionHelper(ExceptionHelper helper)
{
    TracedCall trace("RuntimeSetExceptionHelper", { helper });
    framework().setExceptionHelper(helper);
}

void RuntimeAllocatePluginEntrypointsTable(std::int32_t count)
{
    TracedCall trace("RuntimeAllocatePluginEntrypointsTable", { count });
    RuntimeFaultPoint();
    if (count < 0)
        RuntimeRaise(InvalidArgumentException::lookup(), "a plug-in table cannot have a negative size");
}

void RuntimeRegisterAppObject(Application* application)
{
    TracedCall trace("RuntimeRegisterAppObject", { application });
    if (!application)
        RaiseNilObjectException();
    RuntimeFaultPoint();
    framework().setApplication(application);
}

void RunFrameworkInitialization(void (*lateStartup)())
{
    TracedCall trace("RunFrameworkInitialization", { lateStartup });
    UITrap_();
    if (framework().lateStartupDone() || !lateStartup)
        return;
    framework().markLateStartupDone();
    lateStartup();
}

void RuntimeRun()
{
    TracedCall trace("RuntimeRun");
    RuntimeFaultPoint();
    if (framework().quitRequested() || framework().windows().empty())
        return;
    framework().setLoopRunning(true);
    struct Stop {
        ~Stop() { framework().setLoopRunning(false); }
    } stop;
    RuntimePlatform().run();
}

void RuntimeUnhandledException(Object* exception)
{
    TracedCall trace("RuntimeUnhandledException", { exception });
    framework().setExitCode(1);
    if (!exception) {
        std::fprintf(stderr, "Unhandled exception\n");
        return;
    }
    std::string_view className = exception->classTable()->nameView();
    std::string_view message;
    if (exception->isA(RuntimeException::lookup())) {
        if (RefPtr<String> text = static_cast<RuntimeException*>(exception)->Message)
            message = text->bytes();
    }
    std::fprintf(stderr, "Unhandled %.*s: %.*s\n", static_cast<int>(className.size()), className.data(),
        static_cast<int>(message.size()), message.data());
}

// A finaliser that raised is a failure too, even after a loop that ended well.
std::int32_t RuntimeExit()
{
    TracedCall trace("RuntimeExit");
    if (RuntimeFinalizerFailureCount() != framework().finalizerFailuresAtStart())
        return 1;
    return framework().exitCode();
}
