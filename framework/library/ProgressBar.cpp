#include "ProgressBar.h"

#include "PropertySetters.h"
#include "runtime/CallTrace.h"
#include "runtime/MainThread.h"

ClassTable* ProgressBar::ctbl = nullptr;

namespace {
void valueChanged(ProgressBar* bar)
{
    RuntimeControlChanged(*bar, ControlAspect::Value);
}
void maximumChanged(ProgressBar* bar)
{
    RuntimeControlChanged(*bar, ControlAspect::Maximum);
}
void setValue(Object* object, std::int32_t index, std::int32_t value)
{
    progressValueSetter(static_cast<ProgressBar*>(object), index, value);
}
void setMaximum(Object* object, std::int32_t index, std::int32_t value)
{
    progressMaximumSetter(static_cast<ProgressBar*>(object), index, value);
}
} // namespace

void ProgressBar::ctblinit()
{
    if (ctbl)
        return;
    ctbl = RuntimeNewClass(RectControl::lookup());
    RuntimeSetClassName(ctbl, "ProgressBar");
    ctbl->allocate = &allocateInstance<ProgressBar>;
    auto scope = [] { return RuntimeAllocateAttributeTable({ { "__Scope", "Public" } }); };
    RuntimeRegisterProperty(ctbl, "Value", "i4", &setValue,
        &property::get<ProgressBar, std::int32_t, &ProgressBar::value>, scope());
    RuntimeRegisterProperty(ctbl, "Maximum", "i4", &setMaximum,
        &property::get<ProgressBar, std::int32_t, &ProgressBar::maximum>, scope());
}

ClassTable* ProgressBar::lookup()
{
    return classLookup<ProgressBar>();
}

void progressValueSetter(ProgressBar* bar, std::int32_t index, std::int32_t value)
{
    if (!bar)
        RaiseNilObjectException();
    property::set<ProgressBar, std::int32_t, &ProgressBar::value, &valueChanged>(bar, index, value);
}

void progressMaximumSetter(ProgressBar* bar, std::int32_t index, std::int32_t value)
{
    if (!bar)
        RaiseNilObjectException();
    property::set<ProgressBar, std::int32_t, &ProgressBar::maximum, &maximumChanged>(bar, index, value);
}

void ProgressBar::Value::Set(ProgressBar* bar, std::int32_t index, std::int32_t value)
{
    TracedCall trace("ProgressBar.Value.Set", { bar, index, value });
    UITrap_();
    progressValueSetter(bar, index, value);
}

void ProgressBar::Maximum::Set(ProgressBar* bar, std::int32_t index, std::int32_t value)
{
    UITrap_();
    progressMaximumSetter(bar, index, value);
}
