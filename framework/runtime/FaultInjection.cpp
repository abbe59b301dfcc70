#include "FaultInjection.h"

#include "MainThread.h"
#include "RuntimeException.h"

namespace {
struct FaultSwitch {
    std::uint64_t failingCall = 0;
    std::uint64_t calls = 0;
};
FaultSwitch& faultSwitch()
{
    static FaultSwitch state;
    return state;
}
} // namespace

void RuntimeSetFaultInjection(std::uint64_t failingCall)
{
    faultSwitch() = { failingCall, 0 };
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
        RuntimeRaise(RuntimeException::lookup(), "injected fault");
    }
}
