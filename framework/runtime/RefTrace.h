#pragma once

#include <cstdint>

// An observer of every reference-count change, for tests that check a whole ref/deref sequence.
enum class RefEvent { LockObject, UnlockObject, LockString, UnlockString };
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
