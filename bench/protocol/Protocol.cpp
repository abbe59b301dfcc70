#include "Protocol.h"

#include <QEvent>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <unistd.h>

namespace protocol {

namespace {
long long clockNs(clockid_t clock)
{
    timespec now {};
    clock_gettime(clock, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// The kernel's start time of this process counts clock ticks since boot; it includes the exec and the
// dynamic loading that a timestamp taken in main() would miss.
double msSinceProcessStart()
{
    std::string stat(1024, '\0');
    if (FILE* file = std::fopen("/proc/self/stat", "r")) {
        stat.resize(std::fread(stat.data(), 1, stat.size() - 1, file));
        std::fclose(file);
    }
    std::size_t field = stat.rfind(')');
    if (field == std::string::npos)
        return -1;
    // starttime is field 22; field 3 (the state) follows the command's closing parenthesis.
    const char* at = stat.c_str() + field + 2;
    for (int n = 3; n < 22 && at; ++n) {
        at = std::strchr(at, ' ');
        if (at)
            ++at;
    }
    if (!at)
        return -1;
    double startTicks = std::strtod(at, nullptr);
    double ticksPerSecond = static_cast<double>(sysconf(_SC_CLK_TCK));
    return static_cast<double>(clockNs(CLOCK_BOOTTIME)) / 1e6 - startTicks * 1000.0 / ticksPerSecond;
}
} // namespace

bool measuring()
{
    const char* value = std::getenv("VORPEL_MEASURE");
    return value && std::string(value) == "1";
}

long long monotonicNs()
{
    return clockNs(CLOCK_MONOTONIC);
}

void report(const std::string& line)
{
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

bool FirstFrameProbe::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_seen && event->type() == QEvent::Paint) {
        m_seen = true;
        QTimer::singleShot(0, [] {
            char line[64];
            std::snprintf(line, sizeof line, "first-frame %.3f", msSinceProcessStart());
            report(line);
        });
    }
    return QObject::eventFilter(watched, event);
}

} // namespace protocol
