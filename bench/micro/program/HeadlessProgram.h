#pragma once

#include "mainwindow/Window1.h"

// The program started as far as its event loop on the benchmarks' headless platform, its main window
// open; shut down again when this goes.
class HeadlessProgram {
public:
    HeadlessProgram();
    ~HeadlessProgram();
    HeadlessProgram(const HeadlessProgram&) = delete;
    HeadlessProgram& operator=(const HeadlessProgram&) = delete;

    Window1::Window1* window() const { return m_window.get(); }

private:
    RefPtr<Window1::Window1> m_window;
};
