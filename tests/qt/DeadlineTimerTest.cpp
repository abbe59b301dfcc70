#include "QtFixture.h"

#include "library/Timer.h"
#include "platforms/qt/DeadlineTimer.h"

#include <sys/timerfd.h>

using namespace std::chrono_literals;

namespace {
// Lets the loop look at the timerfd a few times; a deadline already past is due at once.
void deliverDue()
{
    for (int round = 0; round < 5; ++round)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}
} // namespace

class DeadlineTimerTest : public QtTest {
protected:
    std::vector<Timer*> fired;
    std::vector<Clock::time_point> cameAt;
    DeadlineTimer timers { [this](Timer& timer, Clock::time_point deadline) {
        fired.push_back(&timer);
        cameAt.push_back(deadline);
    } };
    RefPtr<Timer> a, b, c;

    void SetUp() override
    {
        QtTest::SetUp();
        a = newObject<Timer>();
        b = newObject<Timer>();
        c = newObject<Timer>();
    }
    void TearDown() override
    {
        a = b = c = nullptr;
        QtTest::TearDown();
    }

    // What the kernel holds: disarmed, or an absolute expiry that lies between now and the deadline.
    void expectArmedFor(std::optional<Clock::time_point> deadline)
    {
        EXPECT_EQ(timers.armedFor(), deadline);
        Clock::time_point before = Clock::now();
        itimerspec left {};
        ASSERT_EQ(timerfd_gettime(timers.descriptor(), &left), 0);
        Clock::time_point after = Clock::now();
        auto remaining
            = std::chrono::seconds(left.it_value.tv_sec) + std::chrono::nanoseconds(left.it_value.tv_nsec);
        EXPECT_EQ(left.it_interval.tv_sec, 0) << "one shot: each deadline is set anew";
        EXPECT_EQ(left.it_interval.tv_nsec, 0);
        if (!deadline) {
            EXPECT_EQ(remaining, 0ns) << "disarmed";
            return;
        }
        EXPECT_LE(remaining, *deadline - before);
        EXPECT_GE(remaining, *deadline - after);
    }
};

TEST_F(DeadlineTimerTest, ArmsForTheEarliestDeadlineAndFollowsReplacementsAndCancels)
{
    Clock::time_point now = Clock::now();
    timers.schedule(*a, now + 30s);
    expectArmedFor(now + 30s);
    timers.schedule(*b, now + 10s);
    expectArmedFor(now + 10s);
    timers.schedule(*b, now + 40s); // replaces b's deadline
    expectArmedFor(now + 30s);
    EXPECT_EQ(timers.deadlineOf(*b), now + 40s);
    EXPECT_EQ(timers.size(), 2u);
    timers.cancel(*a);
    expectArmedFor(now + 40s);
    timers.cancel(*c); // never scheduled
    expectArmedFor(now + 40s);
    timers.cancel(*b);
    expectArmedFor(std::nullopt);
    EXPECT_EQ(timers.size(), 0u);
    deliverDue();
    EXPECT_TRUE(fired.empty());
}

TEST_F(DeadlineTimerTest, DueTimersFireOnceEachEarliestFirstAndFutureOnesWait)
{
    Clock::time_point now = Clock::now();
    timers.schedule(*a, now - 1ms);
    timers.schedule(*b, now - 2ms);
    timers.schedule(*c, now + 1h);
    deliverDue();
    EXPECT_EQ(fired, (std::vector<Timer*> { b.get(), a.get() }));
    EXPECT_EQ(cameAt, (std::vector<Clock::time_point> { now - 2ms, now - 1ms }))
        << "each due call brings the deadline that came, which the timer keeps no copy of";
    EXPECT_FALSE(timers.deadlineOf(*a));
    expectArmedFor(now + 1h);
}

TEST_F(DeadlineTimerTest, TheStartOfTheClockIsADeadlineNotADisarm)
{
    timers.schedule(*a, Clock::time_point {});
    deliverDue();
    EXPECT_EQ(fired, std::vector<Timer*> { a.get() });
}

TEST_F(DeadlineTimerTest, ADueCallMayCancelOrRescheduleTimersOfTheSameRound)
{
    Clock::time_point now = Clock::now();
    std::vector<Timer*> log;
    DeadlineTimer reacting([&](Timer& timer, Clock::time_point) {
        log.push_back(&timer);
        if (&timer == b.get()) {
            reacting.cancel(*a); // a was due in this round too
            reacting.schedule(*b, now - 1s); // past again: next round, not this one
        }
    });
    reacting.schedule(*b, now - 3ms);
    reacting.schedule(*a, now - 2ms);
    reacting.schedule(*c, now - 1ms);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log, (std::vector<Timer*> { b.get(), c.get() }));
    log.clear();
    deliverDue();
    EXPECT_EQ(log.front(), b.get()) << "the rescheduled timer fires in a later round";
}
