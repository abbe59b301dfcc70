#pragma once

#include "Color.h"
#include "Method.h"

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <variant>

class Object;
class String;
struct ClassTable;

// A test-only observer of the framework calls a program makes: each call's name and arguments as it
// starts, and its end. It exists only in builds with VORPEL_TEST_HOOKS (every build with tests, and
// every build but a release one); elsewhere a traced call compiles to nothing.

struct TraceRoutine {
    void (*address)();
};

// One argument of a traced call, kept as it was passed; the observer decides how to show it.
class TraceValue {
public:
    using Value = std::variant<const Object*, const ClassTable*, const String*, std::string_view, bool,
        std::int64_t, double, Color, TraceRoutine>;

    TraceValue(const Object* object)
        : m_value(object)
    {
    }
    TraceValue(const ClassTable* table)
        : m_value(table)
    {
    }
    TraceValue(const String* string)
        : m_value(string)
    {
    }
    TraceValue(std::string_view text)
        : m_value(text)
    {
    }
    TraceValue(const char* text)
        : m_value(std::string_view(text))
    {
    }
    TraceValue(bool flag)
        : m_value(flag)
    {
    }
    template <std::integral I>
        requires(!std::same_as<I, bool>)
    TraceValue(I number)
        : m_value(static_cast<std::int64_t>(number))
    {
    }
    TraceValue(double number)
        : m_value(number)
    {
    }
    TraceValue(float number)
        : m_value(static_cast<double>(number))
    {
    }
    TraceValue(Color color)
        : m_value(color)
    {
    }
    TraceValue(MethodEntry entry)
        : m_value(TraceRoutine { entry.fn })
    {
    }
    template <class R, class... A>
    TraceValue(R (*routine)(A...))
        : m_value(TraceRoutine { reinterpret_cast<void (*)()>(routine) })
    {
    }

    const Value& value() const { return m_value; }

private:
    Value m_value;
};

class CallTraceObserver {
public:
    virtual ~CallTraceObserver() = default;
    virtual void enter(std::string_view call, std::span<const TraceValue> arguments) = 0;
    virtual void leave() = 0;
};

#ifdef VORPEL_TEST_HOOKS

// Installs the observer (nullptr removes it). Calls that started before keep the one they saw.
void RuntimeSetCallTrace(CallTraceObserver*);

namespace detail {
extern CallTraceObserver* callTraceObserver;
}

// Marks one framework call for the observer, from its construction to the end of its scope.
class TracedCall {
public:
    TracedCall(std::string_view call, std::initializer_list<TraceValue> arguments = {})
        : m_observer(detail::callTraceObserver)
    {
        if (m_observer)
            m_observer->enter(call, std::span<const TraceValue>(arguments.begin(), arguments.size()));
    }
    ~TracedCall()
    {
        if (m_observer)
            m_observer->leave();
    }
    TracedCall(const TracedCall&) = delete;
    TracedCall& operator=(const TracedCall&) = delete;

private:
    CallTraceObserver* m_observer;
};

#else

class TracedCall {
public:
    TracedCall(std::string_view, std::initializer_list<TraceValue> = {}) { }
    TracedCall(const TracedCall&) = delete;
    TracedCall& operator=(const TracedCall&) = delete;
};

#endif
