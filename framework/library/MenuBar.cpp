#include "MenuBar.h"

#include "runtime/MainThread.h"

ClassTable* MenuBar::ctbl = nullptr;

void MenuBar::ctblinit()
{
    if (ctbl)
        return;
    ctbl = RuntimeNewClass(MenuItem::lookup());
    RuntimeSetClassName(ctbl, "MenuBar");
    ctbl->allocate = &allocateInstance<MenuBar>;
    ctbl->initializer = hook<&MenuBarInitializer>();
    RuntimeSetClassAttribute(ctbl, "__Scope", "Public");
}

ClassTable* MenuBar::lookup()
{
    return classLookup<MenuBar>();
}

void MenuBarInitializer([[maybe_unused]] MenuBar* bar)
{
    UITrap_();
#ifdef VORPEL_TEST_HOOKS
    bar->isMenuBar = true;
#endif
}
