#include "SystemSupport.h"

#include "runtime/Color.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace {
constexpr Color kBlack { 0, 0, 0, 0 };
constexpr Color kRed { 255, 0, 0, 0 };
constexpr Color kDarkRed { 128, 0, 0, 0 };

using Countdown = StartedProgram;

struct Moment {
    const char* what;
    std::function<void(HeadlessPlatform&, Window1::Window1&)> act;
    std::int32_t limit;
    const char* text;
    Color colour;
    std::int32_t bar;
};

void nothing(HeadlessPlatform&, Window1::Window1&)
{
}
// The control name the window's lookup does not find while a test hides it.
std::string_view hiddenControl;
RefPtr<Object> lookupWithoutHidden(::Window* window, String* name)
{
    if (name && name->bytes() == hiddenControl)
        return nullptr;
    return ::Window::ControlByName_(window, name);
}

auto after(Clock::duration duration)
{
    return [duration](HeadlessPlatform& platform, Window1::Window1&) { platform.advance(duration); };
}
} // namespace

// One run through the minute on the headless clock, each row taken after the one above it.
TEST_F(Countdown, FollowsTheClockAndRestartsOnEveryPressOrKey)
{
    const std::vector<Moment> moments = {
        { "opened, before the first tick", &nothing, 60, "01:00", kBlack, 0 },
        { "tick 1", after(1s), 59, "00:59", kBlack, 59 },
        { "tick 45", after(44s), 15, "00:15", kBlack, 15 },
        { "tick 46", after(1s), 14, "00:14", kRed, 14 },
        { "tick 54", after(8s), 6, "00:06", kRed, 6 },
        { "tick 55", after(1s), 5, "00:05", kDarkRed, 5 },
        { "tick 60", after(5s), 0, "00:00", kDarkRed, 0 },
        { "ticks 61 and 62", after(2s), 0, "00:00", kDarkRed, 0 },
        { "mouse at negative coordinates, at zero",
            [](HeadlessPlatform& clock, Window1::Window1& shown) { clock.pressMouse(shown, -20, -3); }, 60,
            "01:00", kBlack, 60 },
        { "tick after the reset", after(1s), 59, "00:59", kBlack, 59 },
        { "a key, a press and an empty key within one period",
            [](HeadlessPlatform& clock, Window1::Window1& shown) {
                clock.advance(300ms);
                clock.pressKey(shown, "q");
                clock.pressMouse(shown, 5, 5);
                clock.pressKey(shown, "");
            },
            60, "01:00", kBlack, 60 },
        { "the timer kept its period: the next tick comes 700 ms later", after(700ms), 59, "00:59", kBlack,
            59 },
    };
    for (const Moment& moment : moments) {
        SCOPED_TRACE(moment.what);
        moment.act(platform, *window);
        EXPECT_EQ(window->limit, moment.limit);
        EXPECT_EQ(labelText(), moment.text);
        EXPECT_EQ(label()->textColor(), moment.colour);
        EXPECT_EQ(bar()->value(), moment.bar);
    }
    EXPECT_EQ(framework().exitCode(), 0) << "no handler raised";
}

// The dispatchers hand the results to the framework: a press is handled, a key is not.
TEST_F(Countdown, ResetsAnswerMouseHandledAndKeyNotHandled)
{
    struct Press {
        std::int32_t x, y;
    };
    for (Press press : { Press { -1, -1 }, Press { 0, 0 }, Press { INT32_MIN, INT32_MAX } }) {
        SCOPED_TRACE(testing::Message() << press.x << "," << press.y);
        window->limit = 7;
        EXPECT_TRUE(callMethod(window.get(), ::Window::kCallMouseDown, press.x, press.y));
        EXPECT_EQ(window->limit, 60);
    }
    for (const char* key : { "a", "", "\x1b", "ボ" }) {
        SCOPED_TRACE(key);
        window->limit = 7;
        Ref<String> text = String::create(key);
        EXPECT_FALSE(callMethod(window.get(), ::Window::kKeyDown, text.ptr()));
        EXPECT_EQ(window->limit, 60);
        EXPECT_EQ(text->refCount(), 1u) << "the key is released";
    }
}

// The timer's binding holds the window weakly, so a tick after the window is gone reaches nothing.
TEST_F(Countdown, TickAfterTheWindowIsGoneRaisesAndChangesNothing)
{
    Ref<::Timer> kept = timer();
    Ref<::Label> shownText = label();
    Ref<::ProgressBar> shownBar = bar();
    WeakPtr<Window1::Window1> gone(window.get());
    ::Window::Close(window.get());
    window = nullptr;
    ASSERT_FALSE(gone) << "the closed window is still alive";

    EXPECT_EQ(raisedBy([&] { callMethod(kept.ptr(), ::Timer::kCallAction); }), "NilObjectException");
    EXPECT_EQ(shownText->text().bytes(), "01:00");
    EXPECT_EQ(shownText->textColor(), kBlack);
    EXPECT_EQ(shownBar->value(), 0);
}

// A control that cannot be found stops the handler at that step: what came before stays done.
TEST_F(Countdown, MissingControlRaisesWithTheEarlierStepsDone)
{
    struct Case {
        const char* what;
        const char* missing;
        std::function<void(Window1::Window1&, ::Timer&)> act;
        std::int32_t limit;
        const char* text;
    };
    const Case cases[] = {
        { "tick without timertext", "timertext",
            [](Window1::Window1&, ::Timer& timer) { callMethod(&timer, ::Timer::kCallAction); }, 29,
            "01:00" },
        { "tick without limitbar", "limitbar",
            [](Window1::Window1&, ::Timer& timer) { callMethod(&timer, ::Timer::kCallAction); }, 29,
            "00:29" },
        { "press without timertext", "timertext",
            [](Window1::Window1& target, ::Timer&) { callMethod(&target, ::Window::kCallMouseDown, 1, 1); },
            60, "01:00" },
        { "key without limitbar", "limitbar",
            [](Window1::Window1& target, ::Timer&) {
                Ref<String> key = String::create("x");
                callMethod(&target, ::Window::kKeyDown, key.ptr());
            },
            60, "01:00" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Ref<::Timer> kept = timer();
        Ref<::Label> shownText = label();
        Ref<::ProgressBar> shownBar = bar();
        window->limit = 30;
        ProgressBar::Value::Set(shownBar.ptr(), 0, 30);
        {
            hiddenControl = c.missing;
            ReplacedEntry hiding(
                Window1::Window1::lookup(), ::Window::kControlByName.index, method<&lookupWithoutHidden>());
            EXPECT_EQ(raisedBy([&] { c.act(*window, kept.get()); }), "NilObjectException");
            hiddenControl = {};
        }
        EXPECT_EQ(window->limit, c.limit);
        EXPECT_EQ(shownText->text().bytes(), c.text);
        EXPECT_EQ(shownBar->value(), 30) << "the bar is the last step";

        ::Label::Text::Set(shownText.ptr(), 0, String::create("01:00").ptr());
    }
}
