#pragma once

#include "MenuBar.h"
#include "runtime/Object.h"

class RuntimeException;

// The application object's class. A subclass binds handlers to its events; an event without a handler
// gets the framework's own behaviour (UnhandledException: not handled, so the framework reports it).
class Application : public Object {
public:
    RefPtr<::MenuBar> menuBar;

    static constexpr std::size_t kMethodCount = 0;

    static constexpr EventSlot<void()> kActivate { 0 };
    static constexpr EventSlot<bool()> kCancelClose { 1 };
    static constexpr EventSlot<void()> kClose { 2 };
    static constexpr EventSlot<void()> kDeactivate { 3 };
    static constexpr EventSlot<void()> kEnableMenuItems { 4 };
    static constexpr EventSlot<bool(Object*)> kHandleAppleEvent { 5 };
    static constexpr EventSlot<void()> kNewDocument { 6 };
    static constexpr EventSlot<void()> kOpen { 7 };
    static constexpr EventSlot<void(Object*)> kOpenDocument { 8 };
    static constexpr EventSlot<bool(RuntimeException*)> kUnhandledException { 9 };

    struct MenuBar {
        static void Set(Application*, std::int32_t, ::MenuBar*);
    };

    static ClassTable* ctbl;
    static void ctblinit();
    static ClassTable* lookup();
};

void AppMenuBarSetter(Application*, std::int32_t, MenuBar*);
