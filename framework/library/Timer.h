#pragma once

#include "Platform.h"
#include "runtime/Object.h"

#include <cstdint>
#include <vector>

// Raises Action after Period milliseconds: once (Mode 1) or again and again (Mode 2); Mode 0 is off.
// Setting Mode, Period or Enabled arms it at once. A repeating timer runs on absolute deadlines: the n-th
// Action is due at arming + n x Period; when the loop falls behind it fires once and resynchronises.
class Timer : public Object {
public:
    enum : std::int32_t { ModeOff = 0, ModeSingle = 1, ModeMultiple = 2 };

    // Written only through the setters, which arm or disarm the timer.
    std::int32_t mode() const { return m_mode; }
    std::int32_t period() const { return m_period; }
    bool enabled() const { return m_enabled; }
    // Whether a platform holds a deadline for its next Action. The deadline itself is the platform's,
    // which brings it back with the due call.
    bool armed() const { return m_armed; }

    static constexpr Slot<void(Object*)> kAddActionNotificationReceiver { 0 };
    static constexpr Slot<void(Object*)> kRemoveActionNotificationReceiver { 1 };
    static constexpr Slot<void()> kReset { 2 };
    static constexpr Slot<void()> kCallAction { 3 };
    static constexpr std::size_t kMethodCount = 4;

    static void addActionNotificationReceiver(Timer*, Object*);
    static void removeActionNotificationReceiver(Timer*, Object*);
    static void Reset(Timer*);
    static void CallAction_(Timer*);

    // Its per-instance initialiser, the timer's set-up, and its finaliser.
    static void initialize(Timer*);
    static void finalize(Timer*);

    static constexpr EventSlot<void()> kAction { 0 };

    struct Mode {
        static void Set(Timer*, std::int32_t, std::int32_t);
    };
    struct Period {
        static void Set(Timer*, std::int32_t, std::int32_t);
    };
    struct Enabled {
        static void Set(Timer*, std::int32_t, bool);
    };

    static ClassTable* ctbl;
    static void ctblinit();
    static ClassTable* lookup();

private:
    friend void RuntimeTimerDue(Timer&, Clock::time_point);

    bool shouldRun() const;
    void rearm();
    template <class T, T Timer::*Member> static void setAndRearm(Timer*, T value);

    std::int32_t m_mode = ModeOff;
    std::int32_t m_period = 1000;
    bool m_enabled = true;
    bool m_armed = false;
    std::vector<Ref<Object>> m_receivers;
};

// The platform's call when the deadline it was given for the timer has come: schedules the next one on
// the same grid, then raises Action.
void RuntimeTimerDue(Timer&, Clock::time_point due);
