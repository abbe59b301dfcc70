#pragma once

#include <cstdint>

// An observer of every reference-count change, for tests that check a whole ref/deref sequence. Like the
// call trace it exists only in builds with VORPEL_TEST_HOOKS; elsewhere a traced change compiles to nothing.
enum class RefEvent { LockObject, UnlockObject, LockString, UnlockString };

#ifdef VORPEL_TEST_HOOKS

using RefTraceHook = void (*)(RefEvent, const void* target, std::uint32_t countAfter, void* context);

void RuntimeSetRefTrace(RefTraceHook, void* context);

namespace detail {
extern RefTraceHook refTraceHook;
extern void* refTraceContext;
} // namespace detail

inline void traceRef(RefEvent event, const void* target, std::uint32_t countAfter)
{
    if (detail::refTraceHook)
        detail::refTraceHook(event, target, countAfter, detail::refTraceContext);
}

#else

inline void traceRef(RefEvent, const void*, std::uint32_t) { }

#endif
