#include "support/HeadlessFixture.h"
#include "support/RaisedBy.h"
#include "support/SetProperty.h"

#include "library/Application.h"
#include "library/Label.h"
#include "library/MenuBar.h"
#include "library/ProgressBar.h"
#include "library/RGB.h"
#include "library/Timer.h"
#include "library/Window.h"
#include "runtime/RuntimeException.h"

#include <functional>
#include <string>
#include <thread>

class AccessorTest : public HeadlessTest { };

// A platform redraws only the aspect it is told about: a setter that names the wrong one, or none,
// leaves the old value on screen.
TEST_F(AccessorTest, SettersKeepTheValueAndTellThePlatformWhatChanged)
{
    Ref<Window> window = newObject<Window>();
    Ref<Label> label = newObject<Label>();
    Ref<ProgressBar> bar = newObject<ProgressBar>();
    Ref<String> name = "timertext"_s;
    Ref<String> barName = "limitbar"_s;
    callMethod(window.ptr(), Window::kAddControl, name.ptr(), label.ptr());
    callMethod(window.ptr(), Window::kAddControl, barName.ptr(), bar.ptr());
    callMethod(window.ptr(), Window::kConstructor);
    Ref<String> text = "00:59"_s;

    struct Case {
        const char* what;
        std::function<void()> set;
        std::function<bool()> holds;
        ControlAspect aspect;
    };
    const Case cases[] = {
        { "Label.Text", [&] { Label::Text::Set(label.ptr(), 0, text.ptr()); },
            [&] { return label->text().bytes() == "00:59"; }, ControlAspect::Text },
        { "Label.TextColor", [&] { Label::TextColor::Set(label.ptr(), 0, RGB(128, 0, 0, 7)); },
            [&] {
                return label->textColor() == Color { 128, 0, 0, 7 };
            },
            ControlAspect::TextColor },
        { "Label.TextSize", [&] { Label::TextSize::Set(label.ptr(), 0, 256.0f); },
            [&] { return label->textSize() == 256.0f; }, ControlAspect::Font },
        { "Label.TextUnit", [&] { Label::TextUnit::Set(label.ptr(), 0, 2); },
            [&] { return label->textUnit() == 2; }, ControlAspect::Font },
        { "ProgressBar.Value", [&] { ProgressBar::Value::Set(bar.ptr(), 0, 59); },
            [&] { return bar->value() == 59; }, ControlAspect::Value },
        { "ProgressBar.Maximum", [&] { ProgressBar::Maximum::Set(bar.ptr(), 0, 60); },
            [&] { return bar->maximum() == 60; }, ControlAspect::Maximum },
    };
    for (const Case& c : cases) {
        std::size_t before = platform.controlChanges(c.aspect);
        c.set();
        EXPECT_TRUE(c.holds()) << c.what;
        EXPECT_EQ(platform.controlChanges(c.aspect), before + 1) << c.what;
        c.set();
        EXPECT_EQ(platform.controlChanges(c.aspect), before + 1) << c.what << ": the same value again";
    }
}

// The class library's constructors, initialisers, property accessors (named, and those of the property
// tables that the design-time sets go through), Window._AddControl and the menu operations refuse another
// thread before they change anything. The lookup of a control by name, closing a window and resetting a
// timer make no such test.
TEST_F(AccessorTest, UserInterfaceOperationsApplyTheMainThreadRuleFirst)
{
    Ref<Application> application = newObject<Application>();
    Ref<Window> window = newObject<Window>();
    Ref<Label> label = newObject<Label>();
    Ref<ProgressBar> bar = newObject<ProgressBar>();
    Ref<Timer> timer = newObject<Timer>();
    Ref<MenuBar> menuBar = newObject<MenuBar>();
    Ref<MenuItem> item = newObject<MenuItem>();
    Ref<String> name = "timertext"_s;
    callMethod(window.ptr(), Window::kAddControl, name.ptr(), label.ptr());
    Ref<String> other = "other"_s;

    struct Case {
        const char* what;
        std::function<void()> call;
        std::function<bool()> unchanged;
        const char* raises;
    };
    const Case cases[] = {
        { "Label.Text.Set", [&] { Label::Text::Set(label.ptr(), 0, other.ptr()); },
            [&] { return label->text().bytes().empty(); }, "ThreadAccessingUIException" },
        { "Label.TextColor.Set", [&] { Label::TextColor::Set(label.ptr(), 0, RGB(255, 0, 0, 0)); },
            [&] { return label->textColor() == Color {}; }, "ThreadAccessingUIException" },
        { "Label.TextSize.Set", [&] { Label::TextSize::Set(label.ptr(), 0, 12.0f); },
            [&] { return label->textSize() == 0.0f; }, "ThreadAccessingUIException" },
        { "Label.TextUnit.Set", [&] { Label::TextUnit::Set(label.ptr(), 0, 3); },
            [&] { return label->textUnit() == 0; }, "ThreadAccessingUIException" },
        { "ProgressBar.Value.Set", [&] { ProgressBar::Value::Set(bar.ptr(), 0, 5); },
            [&] { return bar->value() == 0; }, "ThreadAccessingUIException" },
        { "RectControl.Constructor", [&] { callMethod(bar.ptr(), RectControl::kConstructor); },
            [&] { return !bar->constructed; }, "ThreadAccessingUIException" },
        { "Window._AddControl",
            [&] { callMethod(window.ptr(), Window::kAddControl, other.ptr(), bar.ptr()); },
            [&] { return window->controls().size() == 1; }, "ThreadAccessingUIException" },
        { "Window._ControlByName", [&] { callMethod(window.ptr(), Window::kControlByName, name.ptr()); },
            [] { return true; }, "" },
        { "Window.MenuBar.Set", [&] { Window::MenuBar::Set(window.ptr(), 0, menuBar.ptr()); },
            [&] { return !window->menuBar(); }, "ThreadAccessingUIException" },
        { "Application.MenuBar.Set", [&] { Application::MenuBar::Set(application.ptr(), 0, menuBar.ptr()); },
            [&] { return !application->menuBar; }, "ThreadAccessingUIException" },
        { "Timer.Mode.Set", [&] { Timer::Mode::Set(timer.ptr(), 0, Timer::ModeMultiple); },
            [&] { return timer->mode() == Timer::ModeOff && !timer->armed(); },
            "ThreadAccessingUIException" },
        { "Timer initialiser", [&] { newObject<Timer>(); }, [] { return true; },
            "ThreadAccessingUIException" },
        { "MenuItem initialiser", [&] { newObject<MenuItem>(); }, [] { return true; },
            "ThreadAccessingUIException" },
        { "MenuItem.Name.Set", [&] { MenuItem::Name::Set(item.ptr(), 0, other.ptr()); },
            [&] { return item->name().bytes().empty(); }, "ThreadAccessingUIException" },
        { "MenuItem.Append", [&] { callMethod(menuBar.ptr(), MenuItem::kAppend, item.ptr()); },
            [&] { return menuBar->children().empty(); }, "ThreadAccessingUIException" },
        { "MenuItem._Lookup", [&] { callMethod(menuBar.ptr(), MenuItem::kLookup, other.ptr()); },
            [] { return true; }, "ThreadAccessingUIException" },
        { "Window's Title in its table", [&] { setProperty(*window, "Title", other.ptr()); },
            [&] { return window->title().bytes().empty(); }, "ThreadAccessingUIException" },
        { "Window's Width in its table", [&] { setProperty(*window, "Width", 800); },
            [&] { return window->width() == 600; }, "ThreadAccessingUIException" },
        { "Window's MacProcId in its table", [&] { setProperty(*window, "MacProcId", 7); },
            [&] { return window->macProcId() == 0; }, "ThreadAccessingUIException" },
        { "Label's Text in its table", [&] { setProperty(*label, "Text", other.ptr()); },
            [&] { return label->text().bytes().empty(); }, "ThreadAccessingUIException" },
        { "Label's Bold in its table", [&] { setProperty(*label, "Bold", true); },
            [&] { return !label->bold(); }, "ThreadAccessingUIException" },
        { "Label's Text read from its table", [&] { getProperty<RefPtr<String>>(*label, "Text"); },
            [] { return true; }, "ThreadAccessingUIException" },
        { "ProgressBar's Maximum in its table", [&] { setProperty(*bar, "Maximum", 60); },
            [&] { return bar->maximum() == 100; }, "ThreadAccessingUIException" },
        { "RectControl's Left in its table", [&] { setProperty(*bar, "Left", 5); },
            [&] { return bar->left() == 0; }, "ThreadAccessingUIException" },
        { "Control's Name in its table", [&] { setProperty(*bar, "Name", other.ptr()); },
            [&] { return !bar->name; }, "ThreadAccessingUIException" },
        { "Timer's Period in its table", [&] { setProperty(*timer, "Period", 50); },
            [&] { return timer->period() == 1000; }, "ThreadAccessingUIException" },
        { "Window.Close", [&] { callMethod(newObject<Window>().ptr(), Window::kClose); }, [] { return true; },
            "" },
        { "Timer.Reset", [&] { callMethod(timer.ptr(), Timer::kReset); }, [&] { return !timer->armed(); },
            "" },
    };
    for (const Case& c : cases) {
        std::string raised = "not run";
        std::thread worker([&] { raised = raisedBy(c.call); });
        worker.join();
        EXPECT_EQ(raised, c.raises) << c.what;
        EXPECT_TRUE(c.unchanged()) << c.what;
    }
}
