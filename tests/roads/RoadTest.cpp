#include "RoadSupport.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

using namespace std::chrono_literals;

// Each road of the program against its whole log, written out line by line in the order its design
// gives: start-up, the window's construction, a tick, a reset, the menu build and shut-down.

namespace {
void refusingConstructor(App*)
{
    RuntimeRaise(InvalidArgumentException::lookup(), "refused by the test");
}

// Start-up as far as the default window is about to open, with every road wrapped before the window
// exists (its timer's binding keeps the handler the table held when it was made).
class WindowRoads : public testing::Test {
protected:
    void SetUp() override
    {
        RuntimeSetPlatform(&platform);
        initialize();
        nameProgramParts(recorder);
        wrapRoads(recorder, Inside::Shown, Inside::Quiet);
        RuntimeSetExceptionHelper(&CallFunctionWithExceptionHandling_);
        EarlyStartup_();
    }
    void TearDown() override
    {
        window = nullptr;
        finalize();
        RuntimeSetPlatform(nullptr);
    }
    void openWindow()
    {
        RunFrameworkInitialization(&LateStartup_);
        ASSERT_EQ(platform.shownWindows().size(), 1u);
        window = static_cast<Window1::Window1*>(platform.shownWindows()[0]);
    }
    template <class Step> Log record(Step step)
    {
        recorder.clear();
        recorder.start();
        step();
        recorder.stop();
        return recorder.lines();
    }

    CallRecorder recorder; // goes last: the window's binding holds one of its wrappers until finalize
    HeadlessPlatform platform;
    RefPtr<Window1::Window1> window;
};
} // namespace

// The program entry and the start-up driver: the class tables, the exception helper, the early start-up
// (the application object before its menu bar, the menu bar set before the object is registered), the
// late start-up that opens the window, the loop, and shut-down. A failure in the early start-up skips
// the rest of the driver, is reported once, and shut-down still runs.
TEST(StartUpRoad, RunsEachStepOnceInItsOrder)
{
    struct Case {
        const char* what;
        bool constructorRaises;
        Log expected;
        std::int32_t status;
        const char* report;
    };
    const Log classTables {
        "RuntimeLibraryInitialize()",
        "RuntimeNewClass(class Application)",
        "RuntimeSetClassName(\"App\")",
        "RuntimeNewClass(class Window)",
        "RuntimeSetClassName(\"Window1.Window1\")",
        "RuntimeNewClass(class Timer)",
        "RuntimeSetClassName(\"Window1.vorpel_timer\")",
        "RuntimeNewClass(class MenuBar)",
        "RuntimeSetClassName(\"MainMenuBar.MainMenuBar\")",
    };
    const Log earlyStartup {
        "RuntimeSetExceptionHelper(_CallFunctionWithExceptionHandling)",
        "RuntimeInitExternalClasses()",
        "RuntimeAllocatePluginEntrypointsTable(0)",
        "RuntimeNewObject(class App)",
        "App.Constructor(App)",
    };
    auto join = [](std::initializer_list<Log> parts) {
        Log whole;
        for (const Log& part : parts)
            whole.insert(whole.end(), part.begin(), part.end());
        return whole;
    };
    const Case cases[] = {
        { "a normal run", false,
            join({ classTables, earlyStartup,
                {
                    "RuntimeNewObject(class MainMenuBar.MainMenuBar)",
                    "MainMenuBar.Constructor(MainMenuBar.MainMenuBar)",
                    "Application.MenuBar.Set(App, 0, MainMenuBar.MainMenuBar)",
                    "RuntimeRegisterAppObject(App)",
                    "RunFrameworkInitialization(_LateStartup)",
                    "RuntimeGetImplicitWindow(\"Window1.Window1\")",
                    "RuntimeNewObject(class Window1.Window1)",
                    "Window.Constructor(Window1.Window1)",
                    "RuntimeCheckCast(Window1.Window1, class Window1.Window1)",
                    "RuntimeRun()",
                    "-- the event loop runs",
                    "RuntimeLibraryFinalize()",
                    "RuntimeExit()",
                } }),
            0, "" },
        { "the application's constructor raises", true,
            join({ classTables, earlyStartup,
                {
                    "RuntimeNewObject(class InvalidArgumentException)",
                    "RuntimeUnhandledException(InvalidArgumentException)",
                    "RuntimeLibraryFinalize()",
                    "RuntimeExit()",
                } }),
            1, "Unhandled InvalidArgumentException: refused by the test\n" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HeadlessPlatform platform;
        RuntimeSetPlatform(&platform);
        initialize();
        // The run builds the program's four class tables itself, so that the order it builds them in shows.
        App::ctbl = nullptr;
        Window1::Window1::ctbl = nullptr;
        Window1::vorpel_timer::ctbl = nullptr;
        MainMenuBar::MainMenuBar::ctbl = nullptr;

        MethodEntry constructor;
        std::int32_t status = -1;
        std::string reported;
        {
            CallRecorder recorder;
            nameProgramParts(recorder);
            // The program's call is the only one, never one the framework makes inside its own start-up.
            recorder.showInside("RuntimeInitExternalClasses");
            // The tables are complete when the driver starts: wrap them there.
            recorder.at("RuntimeSetExceptionHelper", [&] {
                constructor = App::lookup()->methods[App::kConstructor.index];
                if (c.constructorRaises)
                    App::lookup()->methods[App::kConstructor.index] = method<&refusingConstructor>();
                wrapRoads(recorder, Inside::Hidden, Inside::Hidden);
            });
            platform.script([&] { recorder.mark("-- the event loop runs"); });
            recorder.start();
            testing::internal::CaptureStderr();
            status = runProgram();
            reported = testing::internal::GetCapturedStderr();
            expectLog(recorder.lines(), c.expected);
        }
        if (constructor)
            App::lookup()->methods[App::kConstructor.index] = constructor;
        RuntimeSetPlatform(nullptr);
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(reported, c.report);
    }
}

// The window's construction: the implicit window made and constructed through its method table; then
// CreateControls (the three controls, each looked up again before every use, the timer's set before its
// binding, the label's size and unit before its set), Layout (menu bar, then the window's set) and Open.
TEST_F(WindowRoads, ConstructionMakesEachControlAndBindingInOrder)
{
    Log log = record([&] { openWindow(); });
    expectLog(log,
        {
            "RunFrameworkInitialization(_LateStartup)",
            "RuntimeGetImplicitWindow(\"Window1.Window1\")",
            "RuntimeNewObject(class Window1.Window1)",
            "Window.Constructor(Window1.Window1)",
            "Window1.Window1.CreateControls(Window1.Window1)",
            "_CreateControls0(Window1.Window1)",
            // 1. the timer
            "Window.__New(Window1.Window1, class Window1.vorpel_timer)",
            "Window1.vorpel_timer.Constructor(Window1.vorpel_timer)",
            "Window._AddControl(Window1.Window1, \"vorpel_timer\", Window1.vorpel_timer)",
            // 2. its set
            "Window._ControlByName(Window1.Window1, \"vorpel_timer\")",
            "RuntimeCheckCast(Window1.vorpel_timer, class Timer)",
            "RuntimeMassPropertySetter(Window1.vorpel_timer, <the timer's set>)",
            // 3. its Action bound to the window's handler, the window held weakly
            "Window._ControlByName(Window1.Window1, \"vorpel_timer\")",
            "RuntimeCheckCast(Window1.vorpel_timer, class Timer)",
            "RuntimeCreateDelegate(Delegate.IM_Invoke, vorpel_timer_Action, Window1.Window1, \"( Timer )\", true)",
            "RuntimeAddEventHandler(Window1.vorpel_timer, 0, AddHandler.Stub.0, Delegate)",
            // 4. the progress bar and its set
            "Window.__New(Window1.Window1, class ProgressBar)",
            "RectControl.Constructor(ProgressBar)",
            "Window._AddControl(Window1.Window1, \"limitbar\", ProgressBar)",
            "Window._ControlByName(Window1.Window1, \"limitbar\")",
            "RuntimeCheckCast(ProgressBar, class ProgressBar)",
            "RuntimeMassPropertySetter(ProgressBar, <the progress bar's set>)",
            // 5. the label
            "Window.__New(Window1.Window1, class Label)",
            "RectControl.Constructor(Label)",
            "Window._AddControl(Window1.Window1, \"timertext\", Label)",
            // 6. its size
            "Window._ControlByName(Window1.Window1, \"timertext\")",
            "RuntimeCheckCast(Label, class Label)",
            "Label.TextSize.Set(Label, 0, 256)",
            // 7. its unit
            "Window._ControlByName(Window1.Window1, \"timertext\")",
            "RuntimeCheckCast(Label, class Label)",
            "Label.TextUnit.Set(Label, 0, 0)",
            // 8. its set
            "Window._ControlByName(Window1.Window1, \"timertext\")",
            "RuntimeCheckCast(Label, class Label)",
            "RuntimeMassPropertySetter(Label, <the label's set>)",
            "Window1.Window1.Layout(Window1.Window1)",
            "Window.MenuBar.Set(Window1.Window1, 0, MainMenuBar.MainMenuBar)",
            "RuntimeMassPropertySetter(Window1.Window1, <the window's set>)",
            "Event_Open(Window1.Window1)",
            "RuntimeCheckCast(Window1.Window1, class Window1.Window1)",
        });
}

// One tick: down by one, then text, colour and value, each on a control fetched anew, every property
// written whether or not it changed. The cases run in turn on one window, so the colour is sometimes
// the one the label already has.
TEST_F(WindowRoads, TickSetsTextThenColourThenValue)
{
    struct Case {
        std::int32_t limitBefore;
        const char* text;
        const char* colour;
        std::int32_t value;
    };
    const Case cases[] = {
        { 60, "00:59", "RGB(0, 0, 0, 0)", 59 },
        { 15, "00:14", "RGB(255, 0, 0, 0)", 14 },
        { 14, "00:13", "RGB(255, 0, 0, 0)", 13 },
        { 6, "00:05", "RGB(128, 0, 0, 0)", 5 },
        { 0, "00:00", "RGB(128, 0, 0, 0)", 0 },
    };
    openWindow();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "limit " << c.limitBefore);
        window->limit = c.limitBefore;
        Log log = record([&] { platform.advance(1s); });
        expectLog(log,
            {
                "Timer._CallAction(Window1.vorpel_timer)",
                "vorpel_timer_Action(Window1.Window1, Window1.vorpel_timer)",
                "Window1.Window1.timertext(Window1.Window1)",
                "Label.Text.Set(Label, 0, \"" + std::string(c.text) + "\")",
                "Window1.Window1.timertext(Window1.Window1)",
                "Label.TextColor.Set(Label, 0, " + std::string(c.colour) + ")",
                "Window1.Window1.limitbar(Window1.Window1)",
                "ProgressBar.Value.Set(ProgressBar, 0, " + std::to_string(c.value) + ")",
            });
        EXPECT_EQ(window->limit, c.value);
    }
}

// A mouse press or a key: the full minute again, text, colour and value each on a control fetched anew;
// the press answers true and the key false.
TEST_F(WindowRoads, ResetSetsTheFullMinuteThroughEachHandler)
{
    struct Case {
        const char* what;
        std::function<void(Window1::Window1&)> input;
        std::string dispatch;
        std::string handler;
        std::string arguments;
        std::string result;
    };
    const Case cases[] = {
        { "a mouse press", [&](Window1::Window1& w) { platform.pressMouse(w, 3, -4); },
            "Window._CallMouseDown", "Event_MouseDown", "(Window1.Window1, 3, -4)", "true" },
        { "a key", [&](Window1::Window1& w) { platform.pressKey(w, "a"); }, "Window._KeyDown", "Event_KeyDown",
            "(Window1.Window1, \"a\")", "false" },
    };
    openWindow();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        window->limit = 0;
        Log log = record([&] { c.input(*window); });
        expectLog(log,
            {
                c.dispatch + c.arguments,
                c.handler + c.arguments,
                "Window1.Window1.timertext(Window1.Window1)",
                "Label.Text.Set(Label, 0, \"01:00\")",
                "Window1.Window1.timertext(Window1.Window1)",
                "Label.TextColor.Set(Label, 0, RGB(0, 0, 0, 0))",
                "Window1.Window1.limitbar(Window1.Window1)",
                "ProgressBar.Value.Set(ProgressBar, 0, 60)",
                c.handler + " returned " + c.result,
                c.dispatch + " returned " + c.result,
            });
        EXPECT_EQ(window->limit, 60);
    }
}

// The shared menu bar's first use: the File menu, then the Edit menu; each item made and constructed
// through its table, its Name, AutoEnable, Text and shortcut set (none for a separator), and only then
// appended: a menu to the bar, an item to its menu found again by Name.
TEST(MenuBuildRoad, BuildsEachItemCompleteThenAppendsIt)
{
    initialize();
    Log log;
    {
        CallRecorder recorder;
        nameProgramParts(recorder);
        wrapRoads(recorder, Inside::Shown, Inside::Quiet);
        recorder.start();
        MainMenuBar::instance();
        log = recorder.lines();
    }
    finalize();
    expectLog(log,
        {
        "RuntimeNewObject(class MainMenuBar.MainMenuBar)",
        "MainMenuBar.Constructor(MainMenuBar.MainMenuBar)",
        "Untitled0(MainMenuBar.MainMenuBar)",
        "RuntimeNewObject(class MenuItem)",
        "MenuItem.Constructor(MenuItem)",
        R"(MenuItem.Name.Set(MenuItem, 0, "FileMenu"))",
        R"(MenuItem.AutoEnable.Set(MenuItem "FileMenu", 0, true))",
        R"(MenuItem.Text.Set(MenuItem "FileMenu", 0, "ファイル"))",
        R"(MenuItem.KeyboardShortcut.Set(MenuItem "FileMenu", 0, ""))",
        R"(MenuItem.Append(MainMenuBar.MainMenuBar, MenuItem "FileMenu"))",
        "RuntimeNewObject(class QuitMenuItem)",
        "MenuItem.Constructor(QuitMenuItem)",
        R"(MenuItem.Name.Set(QuitMenuItem, 0, "FileQuit"))",
        R"(MenuItem.AutoEnable.Set(QuitMenuItem "FileQuit", 0, true))",
        R"(MenuItem.Text.Set(QuitMenuItem "FileQuit", 0, "終了"))",
        R"(MenuItem.KeyboardShortcut.Set(QuitMenuItem "FileQuit", 0, "Cmd+Q"))",
        R"(MenuItem.Child(MainMenuBar.MainMenuBar, "FileMenu"))",
        R"(MenuItem.Append(MenuItem "FileMenu", QuitMenuItem "FileQuit"))",
        "Untitled1(MainMenuBar.MainMenuBar)",
        "RuntimeNewObject(class MenuItem)",
        "MenuItem.Constructor(MenuItem)",
        R"(MenuItem.Name.Set(MenuItem, 0, "EditMenu"))",
        R"(MenuItem.AutoEnable.Set(MenuItem "EditMenu", 0, true))",
        R"(MenuItem.Text.Set(MenuItem "EditMenu", 0, "編集"))",
        R"(MenuItem.KeyboardShortcut.Set(MenuItem "EditMenu", 0, ""))",
        R"(MenuItem.Append(MainMenuBar.MainMenuBar, MenuItem "EditMenu"))",
        "RuntimeNewObject(class MenuItem)",
        "MenuItem.Constructor(MenuItem)",
        R"(MenuItem.Name.Set(MenuItem, 0, "EditUndo"))",
        R"(MenuItem.AutoEnable.Set(MenuItem "EditUndo", 0, true))",
        R"(MenuItem.Text.Set(MenuItem "EditUndo", 0, "取り消す"))",
        R"(MenuItem.KeyboardShortcut.Set(MenuItem "EditUndo", 0, "Cmd+Z"))",
        R"(MenuItem.Child(MainMenuBar.MainMenuBar, "EditMenu"))",
        R"(MenuItem.Append(MenuItem "EditMenu", MenuItem "EditUndo"))",
        "RuntimeNewObject(class MenuItem)",
        "MenuItem.Constructor(MenuItem)",
        R"(MenuItem.Name.Set(MenuItem, 0, "EditSeparator1"))",
        R"(MenuItem.AutoEnable.Set(MenuItem "EditSeparator1", 0, true))",
        R"(MenuItem.Text.Set(MenuItem "EditSeparator1", 0, "-"))",
        R"(MenuItem.Child(MainMenuBar.MainMenuBar, "EditMenu"))",
        R"(MenuItem.Append(MenuItem "EditMenu", MenuItem "EditSeparator1"))",
        "RuntimeNewObject(class MenuItem)",
        "MenuItem.Constructor(MenuItem)",
        R"(MenuItem.Name.Set(MenuItem, 0, "EditCut"))",
        R"(MenuItem.AutoEnable.Set(MenuItem "EditCut", 0, true))",
        R"(MenuItem.Text.Set(MenuItem "EditCut", 0, "カット"))",
        R"(MenuItem.KeyboardShortcut.Set(MenuItem "EditCut", 0, "Cmd+X"))",
        R"(MenuItem.Child(MainMenuBar.MainMenuBar, "EditMenu"))",
        R"(MenuItem.Append(MenuItem "EditMenu", MenuItem "EditCut"))",
        "RuntimeNewObject(class MenuItem)",
        "MenuItem.Constructor(MenuItem)",
        R"(MenuItem.Name.Set(MenuItem, 0, "EditCopy"))",
        R"(MenuItem.AutoEnable.Set(MenuItem "EditCopy", 0, true))",
        R"(MenuItem.Text.Set(MenuItem "EditCopy", 0, "コピー"))",
        R"(MenuItem.KeyboardShortcut.Set(MenuItem "EditCopy", 0, "Cmd+C"))",
        R"(MenuItem.Child(MainMenuBar.MainMenuBar, "EditMenu"))",
        R"(MenuItem.Append(MenuItem "EditMenu", MenuItem "EditCopy"))",
        "RuntimeNewObject(class MenuItem)",
        "MenuItem.Constructor(MenuItem)",
        R"(MenuItem.Name.Set(MenuItem, 0, "EditPaste"))",
        R"(MenuItem.AutoEnable.Set(MenuItem "EditPaste", 0, true))",
        R"(MenuItem.Text.Set(MenuItem "EditPaste", 0, "貼り付け"))",
        R"(MenuItem.KeyboardShortcut.Set(MenuItem "EditPaste", 0, "Cmd+V"))",
        R"(MenuItem.Child(MainMenuBar.MainMenuBar, "EditMenu"))",
        R"(MenuItem.Append(MenuItem "EditMenu", MenuItem "EditPaste"))",
        "RuntimeNewObject(class MenuItem)",
        "MenuItem.Constructor(MenuItem)",
        R"(MenuItem.Name.Set(MenuItem, 0, "EditClear"))",
        R"(MenuItem.AutoEnable.Set(MenuItem "EditClear", 0, true))",
        R"(MenuItem.Text.Set(MenuItem "EditClear", 0, "削除"))",
        R"(MenuItem.KeyboardShortcut.Set(MenuItem "EditClear", 0, ""))",
        R"(MenuItem.Child(MainMenuBar.MainMenuBar, "EditMenu"))",
        R"(MenuItem.Append(MenuItem "EditMenu", MenuItem "EditClear"))",
        "RuntimeNewObject(class MenuItem)",
        "MenuItem.Constructor(MenuItem)",
        R"(MenuItem.Name.Set(MenuItem, 0, "EditSeparator2"))",
        R"(MenuItem.AutoEnable.Set(MenuItem "EditSeparator2", 0, true))",
        R"(MenuItem.Text.Set(MenuItem "EditSeparator2", 0, "-"))",
        R"(MenuItem.Child(MainMenuBar.MainMenuBar, "EditMenu"))",
        R"(MenuItem.Append(MenuItem "EditMenu", MenuItem "EditSeparator2"))",
        "RuntimeNewObject(class MenuItem)",
        "MenuItem.Constructor(MenuItem)",
        R"(MenuItem.Name.Set(MenuItem, 0, "EditSelectAll"))",
        R"(MenuItem.AutoEnable.Set(MenuItem "EditSelectAll", 0, true))",
        R"(MenuItem.Text.Set(MenuItem "EditSelectAll", 0, "すべてを選択"))",
        R"(MenuItem.KeyboardShortcut.Set(MenuItem "EditSelectAll", 0, "Cmd+A"))",
        R"(MenuItem.Child(MainMenuBar.MainMenuBar, "EditMenu"))",
        R"(MenuItem.Append(MenuItem "EditMenu", MenuItem "EditSelectAll"))",
        });
}

// Quit ends the loop through the framework's quit item; shut-down closes the window (its controls and the
// timer's binding go with it), releases the application object, then the shared menu bar and its tree,
// and returns the framework's exit code.
TEST(ShutDownRoad, ReleasesTheSharedMenuBarLast)
{
    HeadlessPlatform platform;
    RuntimeSetPlatform(&platform);
    initialize();
    Log log;
    std::int32_t status = -1;
    {
        CallRecorder recorder;
        recorder.recordFrees();
        nameProgramParts(recorder);
        platform.script([&] {
            auto* shown = static_cast<Window1::Window1*>(platform.shownWindows().at(0));
            RefPtr<QuitMenuItem> quit = Window1::Window1::FileQuit(shown);
            recorder.start();
            platform.chooseMenu(*quit);
        });
        platform.script([] { ADD_FAILURE() << "the loop went on after Quit"; });
        status = runProgram();
        log = recorder.lines();
    }
    RuntimeSetPlatform(nullptr);
    EXPECT_EQ(status, 0);
    expectLog(log,
        {
            "QuitMenuAction(QuitMenuItem \"FileQuit\")",
            "RuntimeLibraryFinalize()",
            "free(Window1.vorpel_timer)",
            "free(Delegate)",
            "free(ProgressBar)",
            "free(Label)",
            "free(Window1.Window1)",
            "free(App)",
            "free(MainMenuBar.MainMenuBar)",
            "free(MenuItem \"FileMenu\")",
            "free(QuitMenuItem \"FileQuit\")",
            "free(MenuItem \"EditMenu\")",
            "free(MenuItem \"EditUndo\")",
            "free(MenuItem \"EditSeparator1\")",
            "free(MenuItem \"EditCut\")",
            "free(MenuItem \"EditCopy\")",
            "free(MenuItem \"EditPaste\")",
            "free(MenuItem \"EditClear\")",
            "free(MenuItem \"EditSeparator2\")",
            "free(MenuItem \"EditSelectAll\")",
            "RuntimeExit()",
        });
}
