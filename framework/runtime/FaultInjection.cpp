#include "FaultInjection.h"

#ifdef VORPEL_TEST_HOOKS

#include "MainThread.h"
#include "RuntimeException.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

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

void RuntimeSetFaultInjectionFromEnvironment()
{
    const char* value = std::getenv("VORPEL_FAULT_AT");
    if (!value)
        return;
    // "n", or "n,foreign" for a foreign C++ exception.
    std::string_view text(value);
    FaultKind kind = FaultKind::Runtime;
    if (constexpr std::string_view foreign = ",foreign"; text.ends_with(foreign)) {
        kind = FaultKind::Foreign;
        text.remove_suffix(foreign.size());
    }
    std::uint64_t failingCall = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), failingCall);
    if (error == std::errc() && end == text.data() + text.size() && failingCall > 0)
        RuntimeSetFaultInjection(failingCall, kind);
}

void RuntimeReportFaultInjectionCallsAtExit()
{
    if (!std::getenv("VORPEL_FAULT_CALLS_FILE"))
        return;
    std::atexit([] {
        if (std::FILE* file = std::fopen(std::getenv("VORPEL_FAULT_CALLS_FILE"), "w")) {
            std::fprintf(file, "%llu\n", static_cast<unsigned long long>(faultSwitch().calls));
            std::fclose(file);
        }
    });
}
#endif
