#include "Control.h"

#include "PropertySetters.h"
#include "Window.h"
#include "runtime/MainThread.h"

ClassTable* Control::ctbl = nullptr;

namespace {
void setName(Object* object, std::int32_t, String* name)
{
    static_cast<Control*>(object)->name = name;
}
RefPtr<String> getName(Object* object)
{
    return static_cast<Control*>(object)->name;
}
} // namespace

void Control::ctblinit()
{
    if (ctbl)
        return;
    ctbl = RuntimeNewClass(Object::lookup());
    RuntimeSetClassName(ctbl, "Control");
    ctbl->allocate = &allocateInstance<Control>;
    RuntimeNewVtable(ctbl, { method<&Control::SetWindow_>() });
    RuntimeRegisterOperation(
        ctbl, "_SetWindow", "Window", "", RuntimeAllocateAttributeTable({ { "Hidden", "" } }));
    auto scope = [] { return RuntimeAllocateAttributeTable({ { "__Scope", "Public" } }); };
    RuntimeRegisterProperty(ctbl, "Name", "s", &setName, &getName, scope());
    RuntimeRegisterProperty(ctbl, "Index", "i4", &property::set<Control, std::int32_t, &Control::index>,
        &property::get<Control, std::int32_t, &Control::index>, scope());
    RuntimeRegisterProperty(ctbl, "TabPanelIndex", "i4",
        &property::set<Control, std::int32_t, &Control::tabPanelIndex>,
        &property::get<Control, std::int32_t, &Control::tabPanelIndex>, scope());
}

ClassTable* Control::lookup()
{
    return classLookup<Control>();
}

void Control::SetWindow_(Control* control, ::Window* window)
{
    if (!control)
        RaiseNilObjectException();
    control->window = WeakPtr<::Window>(window);
}

void Control::Name::Set(Control* control, std::int32_t index, String* value)
{
    UITrap_();
    if (!control)
        RaiseNilObjectException();
    setName(control, index, value);
}

RefPtr<String> Control::Name::Get(Control* control)
{
    UITrap_();
    if (!control)
        RaiseNilObjectException();
    return control->name;
}

void Control::Index::Set(Control* control, std::int32_t, std::int32_t value)
{
    UITrap_();
    if (!control)
        RaiseNilObjectException();
    control->index = value;
}

void Control::TabPanelIndex::Set(Control* control, std::int32_t, std::int32_t value)
{
    UITrap_();
    if (!control)
        RaiseNilObjectException();
    control->tabPanelIndex = value;
}
