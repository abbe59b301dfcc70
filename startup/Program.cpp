#include "startup/Program.h"

#include "app/App.h"
#include "library/Startup.h"
#include "mainwindow/Window1.h"
#include "mainwindow/vorpel_timer.h"
#include "menus/MainMenuBar.h"

namespace {
void RuntimeSetExceptionHelper_(ExceptionHelper helper)
{
    RuntimeSetExceptionHelper(helper);
}
void RuntimeInitExternalClasses_()
{
    RuntimeInitExternalClasses();
}
void RuntimeRegisterAppObject_(Application* application)
{
    RuntimeRegisterAppObject(application);
}
void RunFrameworkInitialization_(void (*lateStartup)())
{
    RunFrameworkInitialization(lateStartup);
}
void RuntimeRun_()
{
    RuntimeRun();
}
void UnhandledException_(RuntimeException* exception)
{
    RuntimeUnhandledException(exception);
}
} // namespace

std::int32_t runProgram()
{
    initialize();
    Main_();
    finalize();
    return RuntimeExit();
}

void initialize()
{
    RuntimeLibraryInitialize();
    App::ctblinit();
    Window1::Window1::ctblinit();
    Window1::vorpel_timer::ctblinit();
    MainMenuBar::MainMenuBar::ctblinit();
}

void finalize()
{
    RuntimeLibraryFinalize();
    MainMenuBar::implicitInstance_exit_();
}

void Main_()
{
    try {
        RuntimeSetExceptionHelper_(&CallFunctionWithExceptionHandling_);
        EarlyStartup_();
        RunFrameworkInitialization_(&LateStartup_);
        RuntimeRun_();
    } catch (...) {
        // Whatever its class, a foreign C++ exception too: the report is the framework's. If the report
        // itself raises, that passes on.
        RefPtr<RuntimeException> caught = RuntimeCaughtException();
        UnhandledException_(caught.get());
    }
}

void EarlyStartup_()
{
    RuntimeInitExternalClasses_();
    InitPluginEntrypoints_();
    InitFileTypes_();
    NewAppInstance_();
    ApplicationAddMenuHandlers_();
}

// The program opens no documents.
void InitFileTypes_()
{
}

// The program has no plug-ins.
void InitPluginEntrypoints_()
{
    RuntimeAllocatePluginEntrypointsTable(0);
}

void NewAppInstance_()
{
    RefPtr<App> app;
    {
        Ref<App> created = newObject<App>();
        callMethod(created.ptr(), App::kConstructor);
        app = created.ptr();
    }
    if (!app)
        RaiseNilObjectException();
    {
        // The menu bar goes on before the application is registered, so it never runs without one.
        RefPtr<MainMenuBar::MainMenuBar> bar = MainMenuBar::instance();
        Application::MenuBar::Set(app.get(), 0, bar.get());
    }
    RuntimeRegisterAppObject_(app.get());
}

void ApplicationAddMenuHandlers_()
{
}

void LateStartup_()
{
    MakeDefaultView_();
}

// The framework holds the window while it is open; the program keeps no reference.
void MakeDefaultView_()
{
    Window1::instance();
}

RuntimeException* CallFunctionWithExceptionHandling_(void (*routine)(void*), void* argument)
{
    try {
        routine(argument);
    } catch (const RaisedException& raised) {
        return RefPtr<RuntimeException>(&raised.exception()).leakRef();
    }
    return nullptr;
}
