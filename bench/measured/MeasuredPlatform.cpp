#include "MeasuredPlatform.h"

#include "Protocol.h"
#include "library/Timer.h"

#include <chrono>
#include <string>

namespace {
long long nsOf(Clock::time_point point)
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(point.time_since_epoch()).count();
}
} // namespace

void MeasuredPlatform::scheduleTimer(Timer& timer, Clock::time_point deadline)
{
    // Stamped before anything else, as the floor stamps its tick on entry.
    const long long stamp = protocol::monotonicNs();
    if (timer.mode() == Timer::ModeMultiple && timer.period() > 0) {
        const Clock::duration period = std::chrono::milliseconds(timer.period());
        if (m_origin && Clock::time_point(std::chrono::nanoseconds(stamp)) >= m_pending) {
            // The tick whose deadline passed last; after a stall of a whole period numbers are skipped.
            const long long n = (stamp - nsOf(*m_origin)) / std::chrono::nanoseconds(period).count();
            protocol::report("tick " + std::to_string(n) + " " + std::to_string(stamp));
        } else {
            // Armed, or armed again before its first deadline: a new grid.
            m_origin = deadline - period;
            protocol::report("arm " + std::to_string(nsOf(*m_origin)));
        }
        m_pending = deadline;
    }
    m_inner.scheduleTimer(timer, deadline);
}
