#include "Application.h"

#include "MenuBar.h"
#include "runtime/CallTrace.h"
#include "runtime/MainThread.h"

ClassTable* Application::ctbl = nullptr;

void Application::ctblinit()
{
    if (ctbl)
        return;
    ctbl = RuntimeNewClass(Object::lookup());
    RuntimeSetClassName(ctbl, "Application");
    ctbl->allocate = &allocateInstance<Application>;
    RuntimeDeclareEvents(ctbl,
        { "Activate", "CancelClose", "Close", "Deactivate", "EnableMenuItems", "HandleAppleEvent",
            "NewDocument", "Open", "OpenDocument", "UnhandledException" });
    RuntimeSetClassAttribute(ctbl, "__Scope", "Public");
}

ClassTable* Application::lookup()
{
    return classLookup<Application>();
}

void AppMenuBarSetter(Application* application, std::int32_t, ::MenuBar* bar)
{
    if (!application)
        RaiseNilObjectException();
    application->menuBar = bar;
}

void Application::MenuBar::Set(Application* application, std::int32_t index, ::MenuBar* bar)
{
    TracedCall trace("Application.MenuBar.Set", { application, index, bar });
    UITrap_();
    AppMenuBarSetter(application, index, bar);
}
