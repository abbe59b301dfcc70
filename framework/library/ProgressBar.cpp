#include "ProgressBar.h"

#include "PropertySetters.h"
#include "runtime/CallTrace.h"
#include "runtime/MainThread.h"

ClassTable* ProgressBar::ctbl = nullptr;

void ProgressBar::ctblinit()
{
    if (ctbl)
        return;
    ctbl = RuntimeNewClass(RectControl::lookup());
    RuntimeSetClassName(ctbl, "ProgressBar");
    ctbl->allocate = &allocateInstance<ProgressBar>;
    static constexpr property::Row properties[] = {
        { "Value", "i4", property::trapFirst<&progressValueSetter>, &property::get<&ProgressBar::m_value> },
        { "Maximum", "i4", property::trapFirst<&progressMaximumSetter>,
            &property::get<&ProgressBar::m_maximum> },
    };
    property::registerRows(ctbl, properties);
}

ClassTable* ProgressBar::lookup()
{
    return classLookup<ProgressBar>();
}

void progressValueSetter(ProgressBar* bar, std::int32_t, std::int32_t value)
{
    if (!bar)
        RaiseNilObjectException();
    property::store<&ProgressBar::m_value, ControlAspect::Value>(bar, value);
}

void progressMaximumSetter(ProgressBar* bar, std::int32_t, std::int32_t value)
{
    if (!bar)
        RaiseNilObjectException();
    property::store<&ProgressBar::m_maximum, ControlAspect::Maximum>(bar, value);
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
