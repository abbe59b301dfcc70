#include "FaultInjection.h"

#include "MainThread.h"
#include "RuntimeException.h"

#include <stdexcept>

namespace {
struct FaultSwitch {
    std::uint64_t failingCall = 0;
    std::uint64_t calls = 0;
    FaultKind kind = FaultKind::Runtime;
};
FaultSwitch& faultSwitch()
{
    static FaultSwitch state;
    return state;
}
} // namespace

void RuntimeSetFaultInjection(std::uint64_t failingCall, FaultKind kind)
{
    faultSwitch() = { failingCall, 0, kind };
}

std::uint64_t RuntimeFaultInjectionCalls()
{
    return faultSwitch().calls;
}

void RuntimeFaultPoint()
{
    FaultSwitch& state = faultSwitch();
    if (state.failingCall == 0 || !RuntimeIsMainThread())
        return;
    if (++state.calls == state.failingCall) {
        state.failingCall = 0;
        if (state.kind == FaultKind::Foreign)
            throw std::runtime_error("injected fault");
        RuntimeRaise(RuntimeException::lookup(), "injected fault");
    }
}
