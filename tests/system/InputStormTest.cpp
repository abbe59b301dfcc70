#include "SystemSupport.h"

#include "runtime/Color.h"
#include "support/LiveCounts.h"

#include <chrono>
#include <cstdint>
#include <iterator>
#include <limits>
#include <ostream>
#include <string>

namespace {
using InputStorm = StartedProgram;

// What a reset decides: the count, what the window shows and when the next tick comes.
struct Shown {
    std::int32_t limit = 0;
    std::string text;
    Color colour {};
    std::int32_t bar = 0;
    Clock::duration untilNextTick {};
    std::size_t timers = 0;

    friend bool operator==(const Shown&, const Shown&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Shown& shown)
    {
        return out << shown.limit << " \"" << shown.text << "\" rgb(" << int(shown.colour.red) << ","
                   << int(shown.colour.green) << "," << int(shown.colour.blue) << ") bar " << shown.bar
                   << ", next tick in "
                   << std::chrono::duration_cast<std::chrono::milliseconds>(shown.untilNextTick).count()
                   << " ms, " << shown.timers << " timers";
    }
};

struct Point {
    std::int32_t x, y;
};
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
} // namespace

// A burst of keys and presses between two ticks comes to the same as one reset, and holds on to
// nothing.
TEST_F(InputStorm, TenThousandEventsBetweenTwoTicksAreOneReset)
{
    auto shown = [&] {
        return Shown { window->limit, labelText(), label()->textColor(), bar()->value(),
            *platform.deadlineOf(*timer()) - platform.now(), platform.scheduledTimerCount() };
    };
    const char* const keys[] = { "a", "Q", "", " ", "\x1b", "\r", "\t", "ボ", "01:00" };
    const Point points[] = { { 0, 0 }, { 400, 200 }, { -1, -1 }, { kMin, kMax }, { kMax, kMin } };

    // One reset, 300 ms into the 51st second: the text is red then.
    platform.advance(50s + 300ms);
    ASSERT_EQ(labelText(), "00:10");
    platform.pressKey(*window, "a");
    const Shown afterOneReset = shown();
    const LiveCounts heldAfterOneReset = LiveCounts::now();

    // The storm, at the same point of a later second.
    platform.advance(50s);
    ASSERT_EQ(labelText(), "00:10");
    for (std::size_t event = 0; event < 10'000; ++event) {
        if (event % 2 == 0) {
            platform.pressKey(*window, keys[(event / 2) % std::size(keys)]);
        } else {
            const Point& at = points[(event / 2) % std::size(points)];
            platform.pressMouse(*window, at.x, at.y);
        }
    }
    EXPECT_EQ(shown(), afterOneReset);
    EXPECT_EQ(LiveCounts::now(), heldAfterOneReset) << "the storm left objects or strings behind";
    EXPECT_EQ(framework().exitCode(), 0) << "a handler raised";

    platform.advance(700ms);
    EXPECT_EQ(labelText(), "00:59") << "the tick after the storm came on time";
}
