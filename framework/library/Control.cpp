#include "Control.h"

#include "PropertySetters.h"
#include "Window.h"
#include "runtime/MainThread.h"

ClassTable* Control::ctbl = nullptr;

namespace {
// The name may be nil, unlike the strings that property::store keeps.
void setName(Object* object, std::int32_t, String* name)
{
    UITrap_();
    if (!object)
        RaiseNilObjectException();
    static_cast<Control*>(object)->name = name;
}
RefPtr<String> getName(Object* object)
{
    UITrap_();
    if (!object)
        RaiseNilObjectException();
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
    static constexpr property::Row properties[] = {
        { "Name", "s", &setName, &getName },
        property::row<&Control::index>("Index", "i4"),
        property::row<&Control::tabPanelIndex>("TabPanelIndex", "i4"),
    };
    property::registerRows(ctbl, properties);
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
    setName(control, index, value);
}

RefPtr<String> Control::Name::Get(Control* control)
{
    return getName(control);
}

void Control::Index::Set(Control* control, std::int32_t index, std::int32_t value)
{
    property::set<&Control::index>(control, index, value);
}

void Control::TabPanelIndex::Set(Control* control, std::int32_t index, std::int32_t value)
{
    property::set<&Control::tabPanelIndex>(control, index, value);
}
