#include "RectControl.h"

#include "FrameworkState.h"
#include "LockLayout.h"
#include "PropertySetters.h"
#include "Window.h"
#include "runtime/MainThread.h"

ClassTable* RectControl::ctbl = nullptr;

namespace {
// A moved or resized control, or one with other locks, is placed again in its window's current size.
void geometryChanged(RectControl* control)
{
    if (RefPtr<Window> window = control->window.lock())
        RuntimeLayoutControls(*window);
}
} // namespace

void RectControl::ctblinit()
{
    if (ctbl)
        return;
    ctbl = RuntimeNewClass(Control::lookup());
    RuntimeSetClassName(ctbl, "RectControl");
    ctbl->allocate = &allocateInstance<RectControl>;
    RuntimeNewVtable(ctbl, { method<&RectControl::Constructor>() });
    RuntimeRegisterOperation(
        ctbl, "Constructor", "", "", RuntimeAllocateAttributeTable({ { "__Scope", "Public" } }));
    using property::row;
    using RC = RectControl;
    static constexpr property::Row properties[] = {
        row<&RC::m_left, &geometryChanged>("Left", "i4"),
        row<&RC::m_top, &geometryChanged>("Top", "i4"),
        row<&RC::m_width, &geometryChanged>("Width", "i4"),
        row<&RC::m_height, &geometryChanged>("Height", "i4"),
        row<&RC::m_lockLeft, &geometryChanged>("LockLeft", "b"),
        row<&RC::m_lockTop, &geometryChanged>("LockTop", "b"),
        row<&RC::m_lockRight, &geometryChanged>("LockRight", "b"),
        row<&RC::m_lockBottom, &geometryChanged>("LockBottom", "b"),
        row<&RC::m_visible, ControlAspect::Visibility>("Visible", "b"),
        row<&RC::m_enabled, ControlAspect::Enabled>("Enabled", "b"),
        row<&RC::m_helpTag>("HelpTag", "s"),
        row<&RC::m_autoDeactivate>("AutoDeactivate", "b"),
        row<&RC::m_tabIndex>("TabIndex", "i4"),
        row<&RC::m_initialParent>("InitialParent", "s"),
    };
    property::registerRows(ctbl, properties);
}

ClassTable* RectControl::lookup()
{
    return classLookup<RectControl>();
}

void RectControl::Constructor(RectControl* control)
{
    RefPtr<RectControl> protect(control);
    UITrap_();
    RectControlDefaultConstructor(control);
}

void RectControlDefaultConstructor(RectControl* control)
{
    if (!control)
        RaiseNilObjectException();
#ifdef VORPEL_TEST_HOOKS
    control->constructed = true;
#endif
    control->m_frame = control->designRect();
}

void RuntimeControlChanged(RectControl& control, ControlAspect aspect)
{
    if (Platform* platform = framework().platformIfChosen())
        platform->controlChanged(control, aspect);
}
