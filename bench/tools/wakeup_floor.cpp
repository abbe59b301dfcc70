// The machine's wake-up floor: a thread that does nothing but sleep to absolute one-second deadlines.
// It prints the same arm and tick lines as the measured programs, so the same code reads all of them.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

long long toNs(const timespec& t)
{
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

timespec fromNs(long long ns)
{
    timespec t {};
    t.tv_sec = static_cast<time_t>(ns / 1000000000LL);
    t.tv_nsec = static_cast<long>(ns % 1000000000LL);
    return t;
}

} // namespace

int main(int argc, char** argv)
{
    long ticks = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 300;
    long periodMs = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 1000;
    if (ticks <= 0 || periodMs <= 0) {
        std::fprintf(stderr, "usage: %s [ticks] [period-ms]\n", argv[0]);
        return 2;
    }
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const long long start = toNs(now);
    std::printf("arm %lld\n", start);
    std::fflush(stdout);
    for (long n = 1; n <= ticks; ++n) {
        timespec deadline = fromNs(start + n * periodMs * 1000000LL);
        int result;
        while ((result = clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr)) == EINTR) { }
        if (result != 0) {
            std::fprintf(stderr, "clock_nanosleep failed: %d\n", result);
            return 1;
        }
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("tick %ld %lld\n", n, toNs(now));
        std::fflush(stdout);
    }
    return 0;
}
