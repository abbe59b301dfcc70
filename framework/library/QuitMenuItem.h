#pragma once

#include "MenuItem.h"

// The menu item whose Action ends the application.
class QuitMenuItem : public MenuItem {
public:
    static constexpr Slot<bool()> kEventAction { MenuItem::kMethodCount };
    static constexpr std::size_t kMethodCount = MenuItem::kMethodCount + 1;
    static bool Event_Action(QuitMenuItem*);

    static ClassTable* ctbl;
    static void ctblinit();
    static ClassTable* lookup();
};

// Ends the event loop; true.
bool QuitMenuAction(MenuItem*);
