#include "SystemSupport.h"

#include "menus/MainMenuBar.h"
#include "support/LiveCounts.h"
#include "support/ResidentPages.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {
// Resets come in bursts, one burst every so many ticks, so that between bursts the minute runs out:
// every colour, the floor at 00:00 and the restart all come round again and again.
constexpr std::size_t kTicksBetweenBursts = 72;

std::string shownText(std::int32_t limit)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d", limit / 60, limit % 60);
    return text;
}

struct WholeRun {
    std::int32_t status = -1;
    std::string reported;
    // The first tick at which the window showed something other than the expected count, or "".
    std::string mismatch;
    std::size_t ticks = 0;
    std::size_t resets = 0;
};

// The whole program on the headless clock: start-up, the ticks with the resets spread over them
// (key and mouse presses in turn), then Quit from the File menu.
WholeRun runWhole(std::size_t ticks, std::size_t resets)
{
    HeadlessPlatform platform;
    RuntimeSetPlatform(&platform);
    WholeRun run;
    platform.script([&] {
        ASSERT_EQ(platform.shownWindows().size(), 1u);
        auto* shown = static_cast<Window1::Window1*>(platform.shownWindows()[0]);
        Ref<::Label> text = *Window1::Window1::timertext(shown);
        Ref<::ProgressBar> bar = *Window1::Window1::limitbar(shown);
        const std::size_t bursts = (ticks + kTicksBetweenBursts - 1) / kTicksBetweenBursts;
        std::int32_t expected = 60;
        for (std::size_t tick = 0; tick < ticks; ++tick) {
            if (tick % kTicksBetweenBursts == 0) {
                // Bresenham: the resets shared out over the bursts as evenly as whole numbers allow.
                const std::size_t burst = tick / kTicksBetweenBursts;
                const std::size_t due = (burst + 1) * resets / bursts;
                for (; run.resets < due; ++run.resets) {
                    if (run.resets % 2 == 0)
                        platform.pressKey(*shown, "r");
                    else
                        platform.pressMouse(*shown, 10, 10);
                }
                if (due > 0)
                    expected = 60;
            }
            platform.advance(1s);
            ++run.ticks;
            expected = std::max(expected - 1, 0);
            if (shown->limit != expected || text->text().bytes() != shownText(expected)
                || bar->value() != expected) {
                run.mismatch = "tick " + std::to_string(run.ticks) + ": limit " + std::to_string(shown->limit)
                    + ", text " + std::string(text->text().bytes()) + ", bar " + std::to_string(bar->value())
                    + ", expected " + std::to_string(expected);
                return;
            }
        }
    });
    platform.script([&] {
        RefPtr<QuitMenuItem> quit
            = Window1::Window1::FileQuit(static_cast<Window1::Window1*>(platform.shownWindows().at(0)));
        ASSERT_TRUE(quit);
        platform.chooseMenu(*quit);
    });
    platform.script([] { ADD_FAILURE() << "the loop went on after Quit"; });

    testing::internal::CaptureStderr();
    run.status = runProgram();
    run.reported = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(platform.quitCalled());
    EXPECT_TRUE(platform.shownWindows().empty());
    EXPECT_EQ(platform.scheduledTimerCount(), 0u) << "a timer outlived its window";
    RuntimeSetPlatform(nullptr);
    return run;
}

void expectCleanRun(const WholeRun& run, std::size_t ticks, std::size_t resets)
{
    EXPECT_EQ(run.mismatch, "");
    EXPECT_EQ(run.ticks, ticks);
    EXPECT_EQ(run.resets, resets);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.reported, "");
    EXPECT_FALSE(MainMenuBar::implicitInstance_);
}
} // namespace

// Two minutes of use from start-up to Quit. In the sanitizer build this is the whole program under
// ASan, UBSan and the leak checker.
TEST(WholeRun, TwoMinutesAndAThousandResetsEndInACleanQuit)
{
    initialize(); // class tables keep their strings for good: count from here
    const LiveCounts baseline = LiveCounts::now();
    WholeRun run = runWhole(120, 1000);
    expectCleanRun(run, 120, 1000);
    EXPECT_EQ(LiveCounts::now(), baseline) << "the run left objects or strings behind";
}

// A day of ticks: what the runtime holds goes back to its baseline, and the process does not grow.
TEST(WholeRun, ADayOfTicksLeavesNothingAndDoesNotGrow)
{
    initialize();
    const LiveCounts baseline = LiveCounts::now();
    // The first run brings in what any run needs once: code pages, the allocator's arenas, the
    // platform's and the test framework's buffers. Growth is measured from after it.
    const std::size_t beforeWarmUp = residentPages();
    expectCleanRun(runWhole(120, 1000), 120, 1000);
    const std::size_t afterWarmUp = residentPages();

    const auto started = std::chrono::steady_clock::now();
    WholeRun day = runWhole(86'400, 10'000);
    const auto took
        = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    const std::size_t afterDay = residentPages();

    expectCleanRun(day, 86'400, 10'000);
    EXPECT_EQ(LiveCounts::now(), baseline) << "the day left objects or strings behind";
    std::printf("a day of ticks: %lld ms; resident %zu kB before the warm-up, %zu kB after it, %zu kB after "
                "the day\n",
        static_cast<long long>(took.count()), beforeWarmUp * pageBytes() / 1024,
        afterWarmUp * pageBytes() / 1024, afterDay * pageBytes() / 1024);

#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer holds freed blocks in a quarantine of its own, so resident memory grows with
    // every allocation there; the counts above and its leak checker stand in for it.
#else
    ASSERT_GT(afterWarmUp, 0u) << "/proc/self/statm could not be read";
    // The allocator may still take a few pages for its bookkeeping or a list it grows: allow 16 pages
    // (64 kB). A day's worth of one leaked object per tick would be over 80 times that.
    EXPECT_LE(afterDay, afterWarmUp + 16)
        << "resident memory grew by " << (afterDay - afterWarmUp) << " pages";
#endif
}
