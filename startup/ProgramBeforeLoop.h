#pragma once

#include "mainwindow/Window1.h"
#include "runtime/WeakPtr.h"

// The program started as far as its event loop, on the platform the caller has chosen: its class tables
// built, the application object registered and the main window open. It shuts down again when it goes,
// on every way out. For tests and measurements; the program itself runs through runProgram.
class ProgramBeforeLoop {
public:
    ProgramBeforeLoop();
    ~ProgramBeforeLoop();
    ProgramBeforeLoop(const ProgramBeforeLoop&) = delete;
    ProgramBeforeLoop& operator=(const ProgramBeforeLoop&) = delete;

    // The main window while it is open; nil when start-up opened none.
    Window1::Window1* window() const { return m_window.get(); }

private:
    // Weak, so that the window's reference count is the program's own.
    WeakPtr<Window1::Window1> m_window;
};
