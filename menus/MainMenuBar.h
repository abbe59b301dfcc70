#pragma once

#include "library/MenuBar.h"

namespace MainMenuBar {

// The program's menu bar: the File menu, then the Edit menu, built by its constructor.
class MainMenuBar : public ::MenuBar {
public:
    static constexpr Slot<void()> kUntitled0 { ::MenuBar::kMethodCount + 0 };
    static constexpr Slot<void()> kUntitled1 { ::MenuBar::kMethodCount + 1 };
    static constexpr std::size_t kMethodCount = ::MenuBar::kMethodCount + 2;

    // Stands in MenuItem's slot of the constructor without arguments.
    static void Constructor(MainMenuBar*);
    static void Untitled0(MainMenuBar*); // File
    static void Untitled1(MainMenuBar*); // Edit

    static ClassTable* ctbl;
    static void ctblinit();
    static ClassTable* lookup();
};

// The one shared menu bar, made on first use; the application and the main window both show it.
RefPtr<MainMenuBar> instance();
extern RefPtr<MainMenuBar> implicitInstance_;
// Lets the shared menu bar go, at shut-down.
void implicitInstance_exit_();

} // namespace MainMenuBar
