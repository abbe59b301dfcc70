#include "Timer.h"

#include "ActionNotificationReceiver.h"
#include "ActionSource.h"
#include "FrameworkState.h"
#include "PropertySetters.h"
#include "runtime/MainThread.h"

#include <algorithm>

ClassTable* Timer::ctbl = nullptr;

bool Timer::shouldRun() const
{
    return m_enabled && m_mode != ModeOff && m_period > 0;
}

// Arms the timer afresh from now, or disarms it.
void Timer::rearm()
{
    Platform* platform = framework().platformIfChosen();
    if (!shouldRun()) {
        m_armed = false;
        if (platform)
            platform->cancelTimer(*this);
        return;
    }
    if (!platform)
        return; // without a platform there is no loop to fire it
    m_armed = true;
    platform->scheduleTimer(*this, platform->now() + std::chrono::milliseconds(m_period));
}

// Mode, Period and Enabled alike: a change, or a timer that is not armed as its state says it should
// be, arms it afresh.
template <class T, T Timer::*Member> void Timer::setAndRearm(Timer* timer, T value)
{
    UITrap_();
    if (!timer)
        RaiseNilObjectException();
    if (timer->*Member == value && timer->m_armed == timer->shouldRun())
        return;
    timer->*Member = value;
    timer->rearm();
}

void Timer::initialize(Timer* timer)
{
    UITrap_();
    timer->m_mode = ModeOff;
    timer->m_period = 1000;
    timer->m_enabled = true;
}

void Timer::finalize(Timer* timer)
{
    timer->m_armed = false;
    if (framework().platformIfChosen())
        framework().platformIfChosen()->cancelTimer(*timer);
    timer->m_receivers.clear();
}

void Timer::ctblinit()
{
    if (ctbl)
        return;
    ctbl = RuntimeNewClass(Object::lookup());
    RuntimeSetClassName(ctbl, "Timer");
    ctbl->allocate = &allocateInstance<Timer>;
    ctbl->initializer = hook<&Timer::initialize>();
    ctbl->finalizer = hook<&Timer::finalize>();
    RuntimeNewVtable(ctbl,
        { method<&Timer::addActionNotificationReceiver>(), method<&Timer::removeActionNotificationReceiver>(),
            method<&Timer::Reset>(), method<&Timer::CallAction_>() });
    auto pub = [] { return RuntimeAllocateAttributeTable({ { "__Scope", "Public" } }); };
    RuntimeRegisterOperation(ctbl, "addActionNotificationReceiver", "actionNotificationReceiver", "", pub());
    RuntimeRegisterOperation(
        ctbl, "removeActionNotificationReceiver", "actionNotificationReceiver", "", pub());
    RuntimeRegisterOperation(ctbl, "Reset", "", "", pub());
    RuntimeRegisterOperation(ctbl, "_CallAction", "", "",
        RuntimeAllocateAttributeTable({ { "__Scope", "Public" }, { "Hidden", "" } }));
    RuntimeDeclareEvents(ctbl, { "Action" });
    static constexpr property::Row properties[] = {
        { "Mode", "i4", property::forward<&Timer::Mode::Set>, &property::get<&Timer::m_mode> },
        { "Period", "i4", property::forward<&Timer::Period::Set>, &property::get<&Timer::m_period> },
        { "Enabled", "b", property::forward<&Timer::Enabled::Set>, &property::get<&Timer::m_enabled> },
    };
    property::registerRows(ctbl, properties);
    RuntimeRegisterInterface(ctbl, actionSource::lookup(),
        { method<&Timer::addActionNotificationReceiver>(),
            method<&Timer::removeActionNotificationReceiver>() });
}

ClassTable* Timer::lookup()
{
    return classLookup<Timer>();
}

void Timer::addActionNotificationReceiver(Timer* timer, Object* receiver)
{
    if (!timer || !receiver)
        RaiseNilObjectException();
    Ref<Timer> protect(*timer);
    timer->m_receivers.emplace_back(*receiver);
}

void Timer::removeActionNotificationReceiver(Timer* timer, Object* receiver)
{
    if (!timer)
        RaiseNilObjectException();
    Ref<Timer> protect(*timer);
    auto& list = timer->m_receivers;
    auto found
        = std::find_if(list.begin(), list.end(), [&](const Ref<Object>& r) { return r.ptr() == receiver; });
    if (found != list.end())
        list.erase(found);
}

void Timer::Reset(Timer* timer)
{
    if (!timer)
        RaiseNilObjectException();
    Ref<Timer> protect(*timer);
    timer->rearm();
}

void Timer::CallAction_(Timer* timer)
{
    if (!timer)
        RaiseNilObjectException();
    Ref<Timer> protect(*timer);
    RuntimeRaiseEvent(*timer, Timer::kAction);
    // Receivers may remove themselves: notify a snapshot.
    std::vector<Ref<Object>> receivers = timer->m_receivers;
    for (Ref<Object>& receiver : receivers) {
        if (const InterfaceImpl* impl
            = receiver->classTable()->findInterface(actionNotificationReceiver::lookup()))
            entryAs<void (*)(Object*, Object*)>(impl->method(actionNotificationReceiver::kPerformAction))(
                receiver.ptr(), timer);
    }
}

void Timer::Mode::Set(Timer* timer, std::int32_t, std::int32_t mode)
{
    setAndRearm<std::int32_t, &Timer::m_mode>(timer, mode);
}

void Timer::Period::Set(Timer* timer, std::int32_t, std::int32_t period)
{
    setAndRearm<std::int32_t, &Timer::m_period>(timer, period);
}

void Timer::Enabled::Set(Timer* timer, std::int32_t, bool enabled)
{
    setAndRearm<bool, &Timer::m_enabled>(timer, enabled);
}

void RuntimeTimerDue(Timer& timer, Clock::time_point due)
{
    if (!timer.m_armed)
        return;
    Ref<Timer> protect(timer);
    // Only a platform reports a timer due, so there is one to schedule the next deadline with.
    Platform& platform = RuntimePlatform();
    if (timer.m_mode == Timer::ModeMultiple) {
        // The next deadline stays on the grid of the first; after a stall it skips to the next one ahead.
        auto period = std::chrono::milliseconds(timer.m_period);
        Clock::time_point now = platform.now();
        Clock::time_point next = due + period;
        if (next <= now)
            next += period * ((now - next) / period + 1);
        platform.scheduleTimer(timer, next);
    } else {
        timer.m_armed = false;
        platform.cancelTimer(timer);
    }
    callMethod(&timer, Timer::kCallAction);
}
