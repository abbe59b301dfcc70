// The framework pieces a tick and a start-up go through, each on its own.

#include "BenchPlatform.h"

#include "library/Format.h"
#include "library/Label.h"
#include "library/MassPropertySetter.h"
#include "library/Timer.h"
#include "library/Window.h"
#include "mainwindow/PropertySets.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>

using namespace std::chrono_literals;

namespace {

// The main window's label set, the largest of the program's four.
Ref<String> labelSet()
{
    return Window1::propertysets::asString(Window1::propertysets::kLabel);
}

// The label's set onto a new label, as construction does: every setter sees a change.
void BM_MassPropertySetter_LabelSet_NewLabel(benchmark::State& state)
{
    Ref<String> set = labelSet();
    for (auto _ : state) {
        Ref<Label> label = newObject<Label>();
        RuntimeMassPropertySetter(label.ptr(), set.ptr());
        benchmark::DoNotOptimize(label.ptr());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations())
        * static_cast<std::int64_t>(Window1::propertysets::kLabel.size()));
}
BENCHMARK(BM_MassPropertySetter_LabelSet_NewLabel);

// What the line above costs without the set: subtract it to get the set's share.
void BM_NewLabel(benchmark::State& state)
{
    for (auto _ : state) {
        Ref<Label> label = newObject<Label>();
        benchmark::DoNotOptimize(label.ptr());
    }
}
BENCHMARK(BM_NewLabel);

// The same set again onto the same label: the reading alone, every setter returning early.
void BM_MassPropertySetter_LabelSet_Unchanged(benchmark::State& state)
{
    Ref<String> set = labelSet();
    Ref<Label> label = newObject<Label>();
    RuntimeMassPropertySetter(label.ptr(), set.ptr());
    for (auto _ : state)
        RuntimeMassPropertySetter(label.ptr(), set.ptr());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations())
        * static_cast<std::int64_t>(Window1::propertysets::kLabel.size()));
}
BENCHMARK(BM_MassPropertySetter_LabelSet_Unchanged);

// The seconds of a tick: 0 to 60 through "00".
void BM_Format_00(benchmark::State& state)
{
    Ref<String> format = String::create("00");
    std::int32_t seconds = 0;
    for (auto _ : state) {
        Ref<String> shown = Format(static_cast<double>(seconds), format.ptr());
        benchmark::DoNotOptimize(shown.ptr());
        seconds = seconds == 60 ? 0 : seconds + 1;
    }
}
BENCHMARK(BM_Format_00);

void BM_RefDeref_Object(benchmark::State& state)
{
    Ref<Label> label = newObject<Label>();
    Object* object = label.ptr();
    for (auto _ : state) {
        benchmark::DoNotOptimize(object);
        RuntimeLockObject(object);
        RuntimeUnlockObject(object);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RefDeref_Object);

void BM_RefDeref_String(benchmark::State& state)
{
    Ref<String> text = String::create("00:59");
    String* string = text.ptr();
    for (auto _ : state) {
        benchmark::DoNotOptimize(string);
        RuntimeLockString(string);
        RuntimeUnlockString(string);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RefDeref_String);

// A class with one operation of its own, so that a call measures the dispatch and nothing else.
class Probe : public Object {
public:
    std::int32_t total = 0;
    static std::int32_t Add(Probe* self, std::int32_t value) { return self->total += value; }

    static Slot<std::int32_t(std::int32_t)> kAdd;
    static ClassTable* ctbl;
    static void ctblinit()
    {
        ctbl = RuntimeNewClass(Object::lookup());
        RuntimeSetClassName(ctbl, "bench.Probe");
        ctbl->allocate = &allocateInstance<Probe>;
        kAdd.index = RuntimeNewVtable(ctbl, { method<&Probe::Add>() });
    }
    static ClassTable* lookup() { return classLookup<Probe>(); }
};
ClassTable* Probe::ctbl = nullptr;
Slot<std::int32_t(std::int32_t)> Probe::kAdd { 0 };

void BM_CallMethod_Slot(benchmark::State& state)
{
    Ref<Probe> probe = newObject<Probe>();
    Object* receiver = probe.ptr();
    for (auto _ : state) {
        benchmark::DoNotOptimize(receiver);
        benchmark::DoNotOptimize(callMethod(receiver, Probe::kAdd, 1));
    }
}
BENCHMARK(BM_CallMethod_Slot);

// A tick finds its label again by name, through the window's slot.
void BM_CallMethod_ControlByName(benchmark::State& state)
{
    Ref<Window> window = newObject<Window>();
    for (const char* name : { "vorpel_timer", "limitbar", "timertext" }) {
        Ref<Object> control = newObject<Label>();
        Ref<String> key = String::create(name);
        callMethod(window.ptr(), Window::kAddControl, key.ptr(), control.ptr());
    }
    Ref<String> key = String::create("timertext");
    for (auto _ : state) {
        RefPtr<Object> found = callMethod(window.ptr(), Window::kControlByName, key.ptr());
        benchmark::DoNotOptimize(found.get());
    }
}
BENCHMARK(BM_CallMethod_ControlByName);

class TickTimer : public Timer {
public:
    std::int64_t fired = 0;
    static void OnAction(TickTimer* self) { ++self->fired; }
    static ClassTable* ctbl;
    static void ctblinit()
    {
        ctbl = RuntimeNewClass(Timer::lookup());
        RuntimeSetClassName(ctbl, "bench.TickTimer");
        ctbl->allocate = &allocateInstance<TickTimer>;
        RuntimeBindEventHandler<&OnAction>(ctbl, Timer::kAction);
    }
    static ClassTable* lookup() { return classLookup<TickTimer>(); }
};
ClassTable* TickTimer::ctbl = nullptr;

// One due repeating timer a second of the headless clock: the platform's delivery, the next deadline on
// the grid and the Action raised into an empty handler.
void BM_TimerDue_Headless(benchmark::State& state)
{
    HeadlessPlatform& platform = benchPlatform();
    Ref<TickTimer> timer = newObject<TickTimer>();
    Timer::Period::Set(timer.ptr(), 0, 1000);
    Timer::Mode::Set(timer.ptr(), 0, Timer::ModeMultiple);
    for (auto _ : state)
        platform.advance(1000ms);
    if (timer->fired != static_cast<std::int64_t>(state.iterations()))
        state.SkipWithError("the timer did not fire once a second");
    Timer::Mode::Set(timer.ptr(), 0, Timer::ModeOff);
}
BENCHMARK(BM_TimerDue_Headless);

} // namespace
