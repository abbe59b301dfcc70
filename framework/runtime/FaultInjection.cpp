#include "FaultInjection.h"

#include "MainThread.h"
#include "RuntimeException.h"

#ifdef VORPEL_TEST_HOOKS
#include <charconv>
#include <cstdlib>
#include <string_view>
#endif

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

#ifdef VORPEL_TEST_HOOKS
void RuntimeSetFaultInjectionFromEnvironment()
{
    const char* value = std::getenv("VORPEL_FAULT_AT");
    if (!value)
        return;
    std::string_view text(value);
    std::uint64_t failingCall = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), failingCall);
    if (error == std::errc() && end == text.data() + text.size() && failingCall > 0)
        RuntimeSetFaultInjection(failingCall);
}
#endif
