#pragma once

#include "app/App.h"
#include "library/FrameworkState.h"
#include "library/Startup.h"
#include "mainwindow/PropertySets.h"
#include "mainwindow/Window1.h"
#include "mainwindow/vorpel_timer.h"
#include "menus/MainMenuBar.h"
#include "platforms/headless/HeadlessPlatform.h"
#include "runtime/Delegate.h"
#include "startup/Program.h"
#include "support/CallRecorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Inside = CallRecorder::Inside;
using Log = std::vector<std::string>;

// Names the routines and property sets that roads hand to the framework, and lets the program's own
// routines be seen inside the two framework calls that call back through a routine address.
inline void nameProgramParts(CallRecorder& recorder)
{
    recorder.name(&CallFunctionWithExceptionHandling_, "_CallFunctionWithExceptionHandling");
    recorder.name(&LateStartup_, "_LateStartup");
    recorder.name(Delegate::IM_InvokeEntry<::Timer>(), "Delegate.IM_Invoke");
    recorder.name(AddHandler::StubEntry<0>(), "AddHandler.Stub.0");
    recorder.name(method<&Window1::Window1::vorpel_timer_Action>(), "vorpel_timer_Action");
    namespace sets = Window1::propertysets;
    recorder.nameText(sets::asString(sets::kWindow)->bytes(), "<the window's set>");
    recorder.nameText(sets::asString(sets::kTimer)->bytes(), "<the timer's set>");
    recorder.nameText(sets::asString(sets::kProgressBar)->bytes(), "<the progress bar's set>");
    recorder.nameText(sets::asString(sets::kLabel)->bytes(), "<the label's set>");
    recorder.showInside("RunFrameworkInitialization");
    recorder.showInside("RuntimeRun");
}

// Wraps every table entry through which a road goes, under the name the program's design gives it. The
// program's own routines show what they call; the framework's show only the program they call back.
// The class tables must exist.
inline void wrapRoads(CallRecorder& recorder, Inside menuBarConstruction, Inside windowConstruction)
{
    ClassTable* app = App::lookup();
    recorder.wrap<App::kConstructor>(app, "App.Constructor", Inside::Shown);

    ClassTable* bar = MainMenuBar::MainMenuBar::lookup();
    recorder.wrap<MenuItem::kConstructor>(bar, "MainMenuBar.Constructor", menuBarConstruction);
    recorder.wrap<MainMenuBar::MainMenuBar::kUntitled0>(bar, "Untitled0", Inside::Shown);
    recorder.wrap<MainMenuBar::MainMenuBar::kUntitled1>(bar, "Untitled1", Inside::Shown);
    recorder.wrap<MenuItem::kAppend>(bar, "MenuItem.Append", Inside::Quiet);
    recorder.wrap<MenuItem::kChild>(bar, "MenuItem.Child", Inside::Quiet);
    recorder.wrap<MenuItem::kConstructor>(MenuItem::lookup(), "MenuItem.Constructor", Inside::Quiet);
    recorder.wrap<MenuItem::kAppend>(MenuItem::lookup(), "MenuItem.Append", Inside::Quiet);
    recorder.wrap<MenuItem::kConstructor>(QuitMenuItem::lookup(), "MenuItem.Constructor", Inside::Quiet);

    using Window1::Window1;
    ClassTable* window = Window1::lookup();
    recorder.wrap<::Window::kConstructor>(window, "Window.Constructor", windowConstruction);
    recorder.wrap<::Window::kNew>(window, "Window.__New", Inside::Quiet);
    recorder.wrap<::Window::kAddControl>(window, "Window._AddControl", Inside::Quiet);
    recorder.wrap<::Window::kControlByName>(window, "Window._ControlByName", Inside::Quiet);
    recorder.wrap<::Window::kCallMouseDown>(window, "Window._CallMouseDown", Inside::Quiet);
    recorder.wrap<::Window::kKeyDown>(window, "Window._KeyDown", Inside::Quiet);
    recorder.wrap<Window1::kCreateControls0>(window, "_CreateControls0", Inside::Shown);
    recorder.wrap<Window1::kTimertext>(window, "Window1.Window1.timertext", Inside::Quiet);
    recorder.wrap<Window1::kLimitbar>(window, "Window1.Window1.limitbar", Inside::Quiet);
    recorder.wrap<Window1::kVorpelTimerAction>(window, "vorpel_timer_Action", Inside::Shown);
    recorder.wrapEvent<::Window::kCreateControls>(window, "Window1.Window1.CreateControls", Inside::Shown);
    recorder.wrapEvent<::Window::kLayout>(window, "Window1.Window1.Layout", Inside::Shown);
    recorder.wrapEvent<::Window::kOpenEvent>(window, "Event_Open", Inside::Shown);
    recorder.wrapEvent<::Window::kMouseDown>(window, "Event_MouseDown", Inside::Shown);
    recorder.wrapEvent<::Window::kKeyDownEvent>(window, "Event_KeyDown", Inside::Shown);

    ClassTable* timer = ::Window1::vorpel_timer::lookup();
    recorder.wrap<::Window1::vorpel_timer::kConstructor>(timer, "Window1.vorpel_timer.Constructor", Inside::Shown);
    recorder.wrap<::Timer::kCallAction>(timer, "Timer._CallAction", Inside::Quiet);
    recorder.wrap<RectControl::kConstructor>(ProgressBar::lookup(), "RectControl.Constructor", Inside::Quiet);
    recorder.wrap<RectControl::kConstructor>(Label::lookup(), "RectControl.Constructor", Inside::Quiet);
}

// Side by side, line by line, so that a failure shows where the roads part.
inline void expectLog(const Log& actual, const Log& expected)
{
    std::size_t lines = std::max(actual.size(), expected.size());
    for (std::size_t i = 0; i < lines; ++i) {
        std::string got = i < actual.size() ? actual[i] : "(nothing)";
        std::string want = i < expected.size() ? expected[i] : "(nothing)";
        if (got != want) {
            std::string whole;
            for (const std::string& line : actual)
                whole += "    " + line + "\n";
            ADD_FAILURE() << "line " << i + 1 << "\n  expected: " << want << "\n  recorded: " << got
                          << "\nthe whole recorded log:\n" << whole;
            return;
        }
    }
}
