#include "MenuBar.h"

#include "runtime/MainThread.h"

ClassTable* MenuBar::ctbl = nullptr;

namespace {
void barInitializer(Object* object)
{
    MenuBarInitializer(static_cast<MenuBar*>(object));
}
} // namespace

void MenuBar::ctblinit()
{
    if (ctbl)
        return;
    ctbl = RuntimeNewClass(MenuItem::lookup());
    RuntimeSetClassName(ctbl, "MenuBar");
    ctbl->allocate = &allocateInstance<MenuBar>;
    ctbl->initializer = &barInitializer;
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
