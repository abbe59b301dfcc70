#include "QuitMenuItem.h"

#include "FrameworkState.h"
#include "runtime/CallTrace.h"

ClassTable* QuitMenuItem::ctbl = nullptr;

void QuitMenuItem::ctblinit()
{
    if (ctbl)
        return;
    ctbl = RuntimeNewClass(MenuItem::lookup());
    RuntimeSetClassName(ctbl, "QuitMenuItem");
    ctbl->allocate = &allocateInstance<QuitMenuItem>;
    RuntimeNewVtable(ctbl, { method<&QuitMenuItem::Event_Action>() });
    RuntimeRegisterOperation(
        ctbl, "Event_Action", "", "b", RuntimeAllocateAttributeTable({ { "__Scope", "Public" } }));
    RuntimeBindEventHandler<&QuitMenuItem::Event_Action>(ctbl, MenuItem::kAction);
    RuntimeSetClassAttribute(ctbl, "__Scope", "Public");
}

ClassTable* QuitMenuItem::lookup()
{
    return classLookup<QuitMenuItem>();
}

bool QuitMenuItem::Event_Action(QuitMenuItem* item)
{
    RefPtr<QuitMenuItem> protect(item);
    return QuitMenuAction(item);
}

bool QuitMenuAction(MenuItem* item)
{
    TracedCall trace("QuitMenuAction", { item });
    RuntimeQuit();
    return true;
}
