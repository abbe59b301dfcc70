#include "DeadlineTimer.h"

#include <QSocketNotifier>
#include <QtGlobal>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <sys/timerfd.h>
#include <system_error>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {
// steady_clock counts on CLOCK_MONOTONIC on Linux, so its time points are the timerfd's absolute times.
itimerspec absoluteExpiry(Clock::time_point deadline)
{
    auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(deadline.time_since_epoch()).count();
    // A zero expiry would disarm the timer; a time already past fires at once, which is what we want.
    ns = std::max<decltype(ns)>(ns, 1);
    itimerspec spec {};
    spec.it_value.tv_sec = static_cast<std::time_t>(ns / 1'000'000'000);
    spec.it_value.tv_nsec = static_cast<long>(ns % 1'000'000'000);
    return spec;
}
} // namespace

DeadlineTimer::DeadlineTimer(Due due)
    : m_due(std::move(due))
    , m_fd(timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC))
{
    if (m_fd < 0)
        throw std::system_error(errno, std::generic_category(), "timerfd_create");
    m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] { fire(); });
}

DeadlineTimer::~DeadlineTimer()
{
    m_notifier.reset();
    ::close(m_fd);
}

void DeadlineTimer::schedule(Timer& timer, Clock::time_point deadline)
{
    m_deadlines[&timer] = deadline;
    arm();
}

void DeadlineTimer::cancel(Timer& timer)
{
    if (m_deadlines.erase(&timer))
        arm();
}

#ifdef VORPEL_TEST_HOOKS
std::optional<Clock::time_point> DeadlineTimer::deadlineOf(const Timer& timer) const
{
    auto found = m_deadlines.find(const_cast<Timer*>(&timer));
    if (found == m_deadlines.end())
        return std::nullopt;
    return found->second;
}

std::size_t DeadlineTimer::size() const
{
    return m_deadlines.size();
}

std::optional<Clock::time_point> DeadlineTimer::armedFor() const
{
    return m_armedFor;
}

int DeadlineTimer::descriptor() const
{
    return m_fd;
}
#endif

void DeadlineTimer::arm()
{
    // While firing, the due calls reschedule one by one; the fd is armed once when they are done.
    if (m_firing)
        return;
    std::optional<Clock::time_point> earliest;
    for (const auto& [timer, deadline] : m_deadlines) {
        if (!earliest || deadline < *earliest)
            earliest = deadline;
    }
    if (earliest == m_armedFor)
        return;
    itimerspec spec = earliest ? absoluteExpiry(*earliest) : itimerspec {};
    // Only a bad descriptor or value makes this fail, which would be a fault of ours: warn, and leave
    // m_armedFor as it was so that the next arm() tries again.
    if (timerfd_settime(m_fd, TFD_TIMER_ABSTIME, &spec, nullptr) != 0) {
        qWarning("vorpel: timerfd_settime failed: %s", std::strerror(errno));
        return;
    }
    m_armedFor = earliest;
}

void DeadlineTimer::fire()
{
    std::uint64_t expirations = 0;
    // Non-blocking: after a re-arm the count may already be gone, which is harmless.
    [[maybe_unused]] ssize_t got = ::read(m_fd, &expirations, sizeof expirations);
    m_armedFor.reset();

    Clock::time_point now = Clock::now();
    std::vector<std::pair<Clock::time_point, Timer*>> due;
    for (const auto& [timer, deadline] : m_deadlines) {
        if (deadline <= now)
            due.emplace_back(deadline, timer);
    }
    std::sort(due.begin(), due.end(), [](const auto& a, const auto& b) { return a.first < b.first; });

    m_firing = true;
    struct Rearm {
        DeadlineTimer& self;
        ~Rearm()
        {
            self.m_firing = false;
            self.arm();
        }
    } rearm { *this };
    // A due call may cancel, reschedule or destroy other timers: each one is looked up again before it
    // fires. A timer rescheduled into the past fires on the next round, not again in this one.
    for (const auto& [deadline, timer] : due) {
        auto entry = m_deadlines.find(timer);
        if (entry == m_deadlines.end() || entry->second > now)
            continue;
        m_deadlines.erase(entry);
        m_due(*timer, deadline);
    }
}
