#include "mainwindow/vorpel_timer.h"

#include "library/ActionSource.h"
#include "library/PaneChild.h"
#include "runtime/StackCheck.h"

namespace Window1 {

ClassTable* vorpel_timer::ctbl = nullptr;

namespace {
AttributeTable publicScope()
{
    return RuntimeAllocateAttributeTable({ { "__Scope", "Public" } });
}
AttributeTable hiddenPublic()
{
    return RuntimeAllocateAttributeTable({ { "__Scope", "Public" }, { "Hidden", "" } });
}

// The two interfaces, each with its implementing operations in the interface's order.
void registerActionSource(ClassTable* table)
{
    const ClassTable* timer = ::Timer::lookup();
    RuntimeRegisterInterface(table, actionSource::lookup(),
        { timer->methods[::Timer::kAddActionNotificationReceiver.index],
            timer->methods[::Timer::kRemoveActionNotificationReceiver.index] });
}

void registerPaneChild(ClassTable* table)
{
    RuntimeRegisterInterface(table, PaneChild_::lookup(),
        { method<&vorpel_timer::SetWindow_>(), method<&vorpel_timer::Window>(),
            method<&vorpel_timer::Index_>(), method<&vorpel_timer::SetIndex_>() });
}
} // namespace

void vorpel_timer::ctblinit()
{
    RuntimeStackCheck();
    if (ctbl)
        return;
    ctbl = RuntimeNewClass(::Timer::lookup());
    RuntimeSetClassName(ctbl, "Window1.vorpel_timer");
    ctbl->allocate = &allocateInstance<vorpel_timer>;
    ctbl->finalizer = hook<&vorpel_timer::exit_>();
    [[maybe_unused]] std::size_t first = RuntimeNewVtable(ctbl,
        { method<&vorpel_timer::SetWindow_>(), method<&vorpel_timer::Window>(),
            method<&vorpel_timer::Index_>(), method<&vorpel_timer::SetIndex_>(),
            method<&vorpel_timer::Constructor>() });
    VORPEL_ASSERT(first == kSetWindow.index, "Timer's operations moved");
    RuntimeRegisterOperation(ctbl, "_SetWindow", "Window", "", hiddenPublic());
    RuntimeRegisterOperation(ctbl, "Window", "", "Window", publicScope());
    RuntimeRegisterOperation(ctbl, "_Index", "", "i4", hiddenPublic());
    RuntimeRegisterOperation(ctbl, "_SetIndex", "i4", "", hiddenPublic());
    RuntimeRegisterOperation(ctbl, "Constructor", "", "", publicScope());
    RuntimeRegisterField(ctbl, "Index", "i4", publicScope());
    RuntimeRegisterField(
        ctbl, "ownerWindow", "o<Window>", RuntimeAllocateAttributeTable({ { "__Scope", "Private" } }));
    RuntimeSetClassAttribute(ctbl, "__Scope", "Private");
    registerActionSource(ctbl);
    registerPaneChild(ctbl);
}

ClassTable* vorpel_timer::lookup()
{
    return classLookup<vorpel_timer>();
}

void vorpel_timer::SetWindow_(vorpel_timer* timer, ::Window* window)
{
    RefPtr<vorpel_timer> protect(timer);
    RefPtr<::Window> protectWindow(window);
    RuntimeStackCheck();
    if (!timer)
        RaiseNilObjectException();
    // The assignment takes the new window before it lets the old one go, so relinking the same window
    // never drops its last reference.
    timer->ownerWindow = window;
}

RefPtr<::Window> vorpel_timer::Window(vorpel_timer* timer)
{
    RefPtr<vorpel_timer> protect(timer);
    RuntimeStackCheck();
    if (!timer)
        RaiseNilObjectException();
    return timer->ownerWindow;
}

std::int32_t vorpel_timer::Index_(vorpel_timer* timer)
{
    RefPtr<vorpel_timer> protect(timer);
    RuntimeStackCheck();
    if (!timer)
        RaiseNilObjectException();
    return timer->Index;
}

void vorpel_timer::SetIndex_(vorpel_timer* timer, std::int32_t value)
{
    RefPtr<vorpel_timer> protect(timer);
    RuntimeStackCheck();
    if (!timer)
        RaiseNilObjectException();
    timer->Index = value;
}

// The timer's set-up is Timer's initialiser, which object creation has already run.
void vorpel_timer::Constructor(vorpel_timer* timer)
{
    RefPtr<vorpel_timer> protect(timer);
    RuntimeStackCheck();
}

// Runs while the object is being destroyed, so it takes no reference to it.
void vorpel_timer::exit_(vorpel_timer* timer)
{
    timer->ownerWindow = nullptr;
}

} // namespace Window1
