#include "RectControl.h"

#include "FrameworkState.h"
#include "LockLayout.h"
#include "PropertySetters.h"
#include "Window.h"
#include "runtime/MainThread.h"

ClassTable* RectControl::ctbl = nullptr;

namespace {
void geometryChanged(RectControl* control)
{
    if (RefPtr<Window> window = control->window.lock())
        RuntimeLayoutControls(*window);
}
void visibilityChanged(RectControl* control)
{
    RuntimeControlChanged(*control, ControlAspect::Visibility);
}
void enabledChanged(RectControl* control)
{
    RuntimeControlChanged(*control, ControlAspect::Enabled);
}

template <std::int32_t RectControl::*Member> constexpr auto geometry()
{
    return &property::set<RectControl, std::int32_t, Member, &geometryChanged>;
}
template <bool RectControl::*Member> constexpr auto lock()
{
    return &property::set<RectControl, bool, Member, &geometryChanged>;
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
    auto scope = [] { return RuntimeAllocateAttributeTable({ { "__Scope", "Public" } }); };
    using RC = RectControl;
    // Name, type code, setter, getter: one row a property.
    RuntimeRegisterProperty(
        ctbl, "Left", "i4", geometry<&RC::left>(), &property::get<RC, std::int32_t, &RC::left>, scope());
    RuntimeRegisterProperty(
        ctbl, "Top", "i4", geometry<&RC::top>(), &property::get<RC, std::int32_t, &RC::top>, scope());
    RuntimeRegisterProperty(
        ctbl, "Width", "i4", geometry<&RC::width>(), &property::get<RC, std::int32_t, &RC::width>, scope());
    RuntimeRegisterProperty(ctbl, "Height", "i4", geometry<&RC::height>(),
        &property::get<RC, std::int32_t, &RC::height>, scope());
    RuntimeRegisterProperty(
        ctbl, "LockLeft", "b", lock<&RC::lockLeft>(), &property::get<RC, bool, &RC::lockLeft>, scope());
    RuntimeRegisterProperty(
        ctbl, "LockTop", "b", lock<&RC::lockTop>(), &property::get<RC, bool, &RC::lockTop>, scope());
    RuntimeRegisterProperty(
        ctbl, "LockRight", "b", lock<&RC::lockRight>(), &property::get<RC, bool, &RC::lockRight>, scope());
    RuntimeRegisterProperty(
        ctbl, "LockBottom", "b", lock<&RC::lockBottom>(), &property::get<RC, bool, &RC::lockBottom>, scope());
    RuntimeRegisterProperty(ctbl, "Visible", "b", &property::set<RC, bool, &RC::visible, &visibilityChanged>,
        &property::get<RC, bool, &RC::visible>, scope());
    RuntimeRegisterProperty(ctbl, "Enabled", "b", &property::set<RC, bool, &RC::enabled, &enabledChanged>,
        &property::get<RC, bool, &RC::enabled>, scope());
    RuntimeRegisterProperty(ctbl, "HelpTag", "s", &property::setString<RC, &RC::helpTag>,
        &property::getString<RC, &RC::helpTag>, scope());
    RuntimeRegisterProperty(ctbl, "AutoDeactivate", "b", &property::set<RC, bool, &RC::autoDeactivate>,
        &property::get<RC, bool, &RC::autoDeactivate>, scope());
    RuntimeRegisterProperty(ctbl, "TabIndex", "i4", &property::set<RC, std::int32_t, &RC::tabIndex>,
        &property::get<RC, std::int32_t, &RC::tabIndex>, scope());
    RuntimeRegisterProperty(ctbl, "InitialParent", "s", &property::setString<RC, &RC::initialParent>,
        &property::getString<RC, &RC::initialParent>, scope());
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
    control->constructed = true;
    control->frame = control->designRect();
}

void RuntimeControlChanged(RectControl& control, ControlAspect aspect)
{
    if (Platform* platform = framework().platform())
        platform->controlChanged(control, aspect);
}
