#pragma once

#include "library/Application.h"

// The application class. It handles none of Application's events, so the framework's own behaviour
// applies to each, the report of unhandled exceptions included.
class App : public Application {
public:
    static constexpr Slot<void()> kConstructor { Application::kMethodCount };
    static constexpr std::size_t kMethodCount = Application::kMethodCount + 1;

    static void Constructor(App*);

    static ClassTable* ctbl;
    static void ctblinit();
    static ClassTable* lookup();
};
