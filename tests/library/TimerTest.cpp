#include "support/HeadlessFixture.h"

#include "library/Timer.h"

using namespace std::chrono_literals;

namespace {
struct CountingTimer : Timer {
    std::vector<Clock::time_point> fired;
    bool stopInCallback = false;
    static void OnAction(CountingTimer* self)
    {
        self->fired.push_back(RuntimePlatform().now());
        if (self->stopInCallback)
            Timer::Mode::Set(self, 0, Timer::ModeOff);
    }
    static ClassTable* ctbl;
    static void ctblinit()
    {
        ctbl = RuntimeNewClass(Timer::lookup());
        RuntimeSetClassName(ctbl, "test.CountingTimer");
        ctbl->allocate = &allocateInstance<CountingTimer>;
        RuntimeBindEventHandler<&OnAction>(ctbl, Timer::kAction);
    }
    static ClassTable* lookup() { return classLookup<CountingTimer>(); }
};
ClassTable* CountingTimer::ctbl = nullptr;
} // namespace

class TimerTest : public HeadlessTest {
protected:
    Ref<CountingTimer> start(std::int32_t mode, std::int32_t period = 1000)
    {
        Ref<CountingTimer> timer = newObject<CountingTimer>();
        origin = platform.now();
        Timer::Period::Set(timer.ptr(), 0, period);
        Timer::Mode::Set(timer.ptr(), 0, mode);
        return timer;
    }
    Clock::time_point origin;
};

TEST_F(TimerTest, RepeatingTimerFiresOnTheAbsoluteGrid)
{
    Ref<CountingTimer> timer = start(Timer::ModeMultiple);
    for (int i = 0; i < 5; ++i)
        platform.advance(1000ms);
    ASSERT_EQ(timer->fired.size(), 5u);
    for (std::size_t n = 0; n < 5; ++n)
        EXPECT_EQ(timer->fired[n] - origin, std::chrono::seconds(n + 1));
}

TEST_F(TimerTest, AfterAStallItFiresOnceAndResynchronises)
{
    Ref<CountingTimer> timer = start(Timer::ModeMultiple);
    platform.advance(1000ms);
    // The loop is blocked past three deadlines; the clock jumps before the next delivery.
    platform.stall(3500ms);
    platform.advance(0ms);
    EXPECT_EQ(timer->fired.size(), 2u) << "a stall never bursts";
    EXPECT_EQ(platform.deadlineOf(*timer), origin + 5000ms) << "the next deadline stays on the grid";
}

TEST_F(TimerTest, SingleShotFiresOnceAndModeOffStops)
{
    Ref<CountingTimer> once = start(Timer::ModeSingle, 250);
    platform.advance(2s);
    EXPECT_EQ(once->fired.size(), 1u);
    EXPECT_FALSE(platform.deadlineOf(*once));

    Ref<CountingTimer> repeating = start(Timer::ModeMultiple, 100);
    platform.advance(250ms);
    Timer::Mode::Set(repeating.ptr(), 0, Timer::ModeOff);
    Timer::Mode::Set(repeating.ptr(), 0, Timer::ModeOff);
    platform.advance(1s);
    EXPECT_EQ(repeating->fired.size(), 2u);
}

TEST_F(TimerTest, StartIsIdempotentAndATimerMayStopItselfInItsCallback)
{
    Ref<CountingTimer> timer = start(Timer::ModeMultiple);
    platform.advance(500ms);
    Timer::Mode::Set(timer.ptr(), 0, Timer::ModeMultiple); // no change: keeps its deadline
    Timer::Period::Set(timer.ptr(), 0, 1000);
    EXPECT_EQ(platform.deadlineOf(*timer), origin + 1000ms);
    timer->stopInCallback = true;
    platform.advance(5s);
    EXPECT_EQ(timer->fired.size(), 1u);
    EXPECT_EQ(platform.scheduledTimerCount(), 0u);
}

TEST_F(TimerTest, DisabledTimerDoesNotFireAndDestroyingOneCancelsIt)
{
    Ref<CountingTimer> timer = start(Timer::ModeMultiple);
    Timer::Enabled::Set(timer.ptr(), 0, false);
    platform.advance(3s);
    EXPECT_TRUE(timer->fired.empty());
    {
        Ref<CountingTimer> other = start(Timer::ModeMultiple);
        EXPECT_EQ(platform.scheduledTimerCount(), 1u);
    }
    EXPECT_EQ(platform.scheduledTimerCount(), 0u);
    platform.advance(3s);
}
