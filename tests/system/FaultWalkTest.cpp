#include "SystemSupport.h"

#include "menus/MainMenuBar.h"
#include "runtime/FaultInjection.h"

#include <cstdint>
#include <string>

namespace {
std::size_t occurrences(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

struct Outcome {
    std::int32_t status = -1;
    bool escaped = false;
    bool faultFired = false;
    std::string reported;
};

// One whole run with a tick, a press, a key and Quit, the n-th framework call on the way failing.
Outcome runFailingAt(std::uint64_t n, FaultKind kind)
{
    HeadlessPlatform platform;
    RuntimeSetPlatform(&platform);
    platform.script([&] {
        auto* shown = static_cast<Window1::Window1*>(platform.shownWindows().at(0));
        platform.advance(2s);
        platform.pressMouse(*shown, 1, 1);
        platform.pressKey(*shown, "a");
        platform.advance(1s);
    });
    platform.script([&] {
        if (platform.shownWindows().empty())
            return;
        auto* shown = static_cast<Window1::Window1*>(platform.shownWindows().at(0));
        RefPtr<QuitMenuItem> quit = Window1::Window1::FileQuit(shown);
        platform.chooseMenu(*quit);
    });

    Outcome outcome;
    testing::internal::CaptureStderr();
    RuntimeSetFaultInjection(n, kind);
    try {
        outcome.status = runProgram();
    } catch (...) {
        outcome.escaped = true;
        finalize();
    }
    outcome.faultFired = RuntimeFaultInjectionCalls() >= n;
    RuntimeSetFaultInjection(0);
    outcome.reported = testing::internal::GetCapturedStderr();
    RuntimeSetPlatform(nullptr);
    return outcome;
}
} // namespace

// Walks one failure through every framework call of a run, as a raised runtime exception and as a
// foreign C++ exception: wherever it strikes, it is reported once, the run still ends through shut-down,
// and nothing is left behind.
TEST(FaultWalk, AFailureAtAnyStepIsReportedOnceAndLeavesNothing)
{
    struct Kind {
        FaultKind kind;
        const char* report;
    };
    const Kind kinds[] = {
        { FaultKind::Runtime, "Unhandled RuntimeException: injected fault" },
        { FaultKind::Foreign, "Unhandled RuntimeException: C++ exception std::runtime_error: injected fault" },
    };
    initialize();
    const std::size_t objects = RuntimeLiveObjectCount();
    const std::size_t strings = RuntimeLiveStringCount();
    for (const Kind& kind : kinds) {
        std::uint64_t n = 1;
        for (;; ++n) {
            SCOPED_TRACE(testing::Message() << kind.report << ", failing call " << n);
            Outcome outcome = runFailingAt(n, kind.kind);
            EXPECT_FALSE(outcome.escaped) << "escaped the program entry";
            EXPECT_EQ(RuntimeLiveObjectCount(), objects) << "objects outlived the run";
            EXPECT_EQ(RuntimeLiveStringCount(), strings) << "strings outlived the run";
            EXPECT_FALSE(MainMenuBar::implicitInstance_);
            if (!outcome.faultFired) {
                EXPECT_EQ(outcome.status, 0);
                EXPECT_EQ(outcome.reported, "");
                break;
            }
            // A finaliser cannot pass an exception on: the runtime reports it and the exit status says so.
            bool inFinaliser = occurrences(outcome.reported, "Exception in finaliser") == 1;
            EXPECT_EQ(occurrences(outcome.reported, "injected fault"), 1u) << outcome.reported;
            if (!inFinaliser) {
                EXPECT_EQ(occurrences(outcome.reported, kind.report), 1u) << outcome.reported;
            }
            EXPECT_EQ(outcome.status, 1);
            if (testing::Test::HasFailure())
                return;
        }
        EXPECT_GT(n, 100u) << "the walk reached the framework calls of start-up, the loop and shut-down";
    }
}
