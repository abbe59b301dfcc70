#pragma once

#include "library/Platform.h"

#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>

class QSocketNotifier;

// Wakes the Qt event loop at absolute deadlines on the monotonic clock (steady_clock on Linux) and calls
// due(timer, deadline) for each timer whose deadline has passed, earliest first. One timerfd, armed for
// the earliest deadline, serves every timer, so nothing polls and nothing drifts.
class DeadlineTimer {
public:
    // Called with the timer and the deadline that came.
    using Due = std::function<void(Timer&, Clock::time_point)>;

    explicit DeadlineTimer(Due due);
    ~DeadlineTimer();
    DeadlineTimer(const DeadlineTimer&) = delete;
    DeadlineTimer& operator=(const DeadlineTimer&) = delete;

    // A later call for the same timer replaces its deadline.
    void schedule(Timer&, Clock::time_point deadline);
    void cancel(Timer&);

#ifdef VORPEL_TEST_HOOKS
    // What the tests look at: the deadlines kept, the one the timerfd is armed for (nothing when
    // disarmed), and the descriptor itself.
    std::optional<Clock::time_point> deadlineOf(const Timer&) const;
    std::size_t size() const;
    std::optional<Clock::time_point> armedFor() const;
    int descriptor() const;
#endif

private:
    void arm();
    void fire();

    Due m_due;
    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::unordered_map<Timer*, Clock::time_point> m_deadlines;
    std::optional<Clock::time_point> m_armedFor;
    bool m_firing = false;
};
