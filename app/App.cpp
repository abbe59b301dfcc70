#include "app/App.h"

#include "runtime/StackCheck.h"

ClassTable* App::ctbl = nullptr;

void App::ctblinit()
{
    RuntimeStackCheck();
    if (ctbl)
        return;
    ctbl = RuntimeNewClass(Application::lookup());
    RuntimeSetClassName(ctbl, "App");
    ctbl->allocate = &allocateInstance<App>;
    [[maybe_unused]] std::size_t first = RuntimeNewVtable(ctbl, { method<&App::Constructor>() });
    VORPEL_ASSERT(first == kConstructor.index, "Application's operations moved");
    RuntimeRegisterOperation(
        ctbl, "Constructor", "", "", RuntimeAllocateAttributeTable({ { "__Scope", "Public" } }));
}

ClassTable* App::lookup()
{
    return classLookup<App>();
}

void App::Constructor(App* app)
{
    RefPtr<App> protect(app);
    RuntimeStackCheck();
}
