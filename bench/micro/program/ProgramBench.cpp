// The two paths the program runs while it is up: a tick of its timer and a reset by a key press, each
// from the framework's dispatch down to the three setters, on the headless platform.

#include "library/Label.h"
#include "startup/ProgramBeforeLoop.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

namespace {

constexpr std::int32_t kFullMinute = 60;

std::string shownText(Window1::Window1* window)
{
    RefPtr<::Label> label = Window1::Window1::timertext(window);
    return std::string(label->text().bytes());
}

// Timer._CallAction through its stub, the Action delegate and vorpel_timer_Action: three controls
// fetched by name, the text formatted, three setters. The minute starts again at 00:00 so that every
// tick changes what is shown, as a real one does.
void BM_Program_Tick(benchmark::State& state)
{
    ProgramBeforeLoop program;
    Window1::Window1* window = program.window();
    if (!window) {
        state.SkipWithError("the program opened no main window");
        return;
    }
    Ref<::Timer> timer = *Window1::Window1::vorpel_timer(window);
    for (auto _ : state) {
        if (window->limit == 0)
            window->limit = kFullMinute;
        callMethod(timer.ptr(), ::Timer::kCallAction);
    }
    window->limit = 15;
    callMethod(timer.ptr(), ::Timer::kCallAction);
    if (shownText(window) != "00:14")
        state.SkipWithError("the tick did not reach the label");
}
BENCHMARK(BM_Program_Tick);

// Window._KeyDown through Event_KeyDown, each press after a tick so that the reset changes the text, the
// colour and the bar. Only the press is timed.
void BM_Program_KeyReset(benchmark::State& state)
{
    ProgramBeforeLoop program;
    Window1::Window1* window = program.window();
    if (!window) {
        state.SkipWithError("the program opened no main window");
        return;
    }
    Ref<::Timer> timer = *Window1::Window1::vorpel_timer(window);
    Ref<String> key = String::create("a");
    for (auto _ : state) {
        window->limit = 15; // the tick below turns the text red
        callMethod(timer.ptr(), ::Timer::kCallAction);
        auto start = std::chrono::steady_clock::now();
        bool handled = callMethod(window, ::Window::kKeyDown, key.ptr());
        auto end = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(handled);
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    if (window->limit != kFullMinute || shownText(window) != "01:00")
        state.SkipWithError("the key press did not reset the countdown");
}
BENCHMARK(BM_Program_KeyReset)->UseManualTime();

// The same press when the countdown already shows a full minute: every setter returns early.
void BM_Program_KeyReset_Unchanged(benchmark::State& state)
{
    ProgramBeforeLoop program;
    Window1::Window1* window = program.window();
    if (!window) {
        state.SkipWithError("the program opened no main window");
        return;
    }
    Ref<String> key = String::create("a");
    for (auto _ : state) {
        bool handled = callMethod(window, ::Window::kKeyDown, key.ptr());
        benchmark::DoNotOptimize(handled);
    }
}
BENCHMARK(BM_Program_KeyReset_Unchanged);

} // namespace
