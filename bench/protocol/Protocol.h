#pragma once

#include <QObject>

#include <string>

class QEvent;

// The lines a measured program prints when VORPEL_MEASURE=1, read by tools/measure.py:
//     arm <ns>          the repeating one-second timer is started (CLOCK_MONOTONIC)
//     first-frame <ms>  the window's first paint has been handed to the X server; ms since exec
//     tick <n> <ns>     the n-th tick of that timer ran (CLOCK_MONOTONIC)
namespace protocol {

bool measuring();
long long monotonicNs();
// Writes one line and flushes it, so that the reader stamps it as it comes.
void report(const std::string& line);

// Reports first-frame once: the first Paint any widget receives starts a zero-delay timer, which runs
// when that paint pass, flush to the X server included, has returned to the event loop. Install it on
// the application.
class FirstFrameProbe : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_seen = false;
};

} // namespace protocol
