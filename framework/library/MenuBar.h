#pragma once

#include "MenuItem.h"

// The root of a menu tree, shown along the top of a window.
class MenuBar : public MenuItem {
public:
    static constexpr std::size_t kMethodCount = MenuItem::kMethodCount;
    static ClassTable* ctbl;
    static void ctblinit();
    static ClassTable* lookup();
};

void MenuBarInitializer(MenuBar*);
