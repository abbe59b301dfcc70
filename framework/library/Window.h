#pragma once

#include "MenuBar.h"
#include "runtime/Color.h"
#include "runtime/Object.h"
#include "runtime/String.h"

#include <cstdint>
#include <vector>

// A top-level window. It owns its controls, kept under their names in registration order.
class Window : public Object {
public:
    struct NamedControl {
        Ref<String> name;
        Ref<Object> control;
    };

    // Design-time and run-time properties.
    std::int32_t placement = 0;
    std::int32_t width = 600; // design size; controls are placed against it
    std::int32_t height = 400;
    std::int32_t minWidth = 64;
    std::int32_t minHeight = 64;
    std::int32_t maxWidth = 32000;
    std::int32_t maxHeight = 32000;
    std::int32_t frame = 0;
    bool composite = false;
    bool hasBackColor = false;
    Color backColor { 255, 255, 255, 0 };
    Ref<String> title = String::create("");
    bool visible = true;
    bool fullScreen = false;
    bool menuBarVisible = true;
    bool closeButton = true;
    bool resizeable = true;
    bool liveResize = true;
    bool maximizeButton = true;
    bool minimizeButton = true;
    bool fullScreenButton = false;
    std::int32_t macProcId = 0;

    // State kept by the framework. Each change the platform must hear of goes through its setter.
    ::MenuBar* menuBar() const { return m_menuBar.get(); }
    void setMenuBar(::MenuBar*);
    const std::vector<NamedControl>& controls() const { return m_controls; }
    // The size shown; 0 until the platform reports one.
    std::int32_t contentWidth() const { return m_contentWidth; }
    std::int32_t contentHeight() const { return m_contentHeight; }
    // The size the platform shows: the controls are laid out again and Resized is raised, unless the
    // size is the one already shown.
    void setContentSize(std::int32_t shownWidth, std::int32_t shownHeight);
    bool isOpen() const { return m_isOpen; }

    // Operations, in method-table order.
    static constexpr Slot<void()> kConstructor { 0 };
    static constexpr Slot<Ref<Object>(const ClassTable*)> kNew { 1 };
    static constexpr Slot<void(String*, Object*)> kAddControl { 2 };
    static constexpr Slot<RefPtr<Object>(String*)> kControlByName { 3 };
    static constexpr Slot<bool(std::int32_t, std::int32_t)> kCallMouseDown { 4 };
    static constexpr Slot<bool(String*)> kKeyDown { 5 };
    static constexpr Slot<void()> kClose { 6 };
    static constexpr std::size_t kMethodCount = 7;

    static void Constructor(Window*);
    static Ref<Object> new_(Window*, const ClassTable*);
    static void AddControl_(Window*, String* name, Object* control);
    static RefPtr<Object> ControlByName_(Window*, String* name);
    static bool CallMouseDown_(Window*, std::int32_t x, std::int32_t y);
    static bool KeyDown_(Window*, String* key);
    static void Close(Window*);

    // Events, by index.
    static constexpr EventSlot<void()> kOpenEvent { 0 };
    static constexpr EventSlot<void()> kCloseEvent { 1 };
    static constexpr EventSlot<void()> kActivate { 2 };
    static constexpr EventSlot<void()> kDeactivate { 3 };
    static constexpr EventSlot<void()> kCreateControls { 4 };
    static constexpr EventSlot<void()> kLayout { 5 };
    static constexpr EventSlot<bool(std::int32_t, std::int32_t)> kMouseDown { 6 };
    static constexpr EventSlot<bool(String*)> kKeyDownEvent { 7 };
    static constexpr EventSlot<void()> kPaint { 8 };
    static constexpr EventSlot<void()> kResized { 9 };
    static constexpr std::size_t kEventCount = 10;

    struct Title {
        static void Set(Window*, std::int32_t, String*);
    };
    struct MenuBar {
        static void Set(Window*, std::int32_t, ::MenuBar*);
        static RefPtr<::MenuBar> Get(Window*, std::int32_t);
    };

    static ClassTable* ctbl;
    static void ctblinit();
    static ClassTable* lookup();

private:
    // Opening and adding a control are the framework's own operations.
    friend void WindowDefaultConstructor(Window*);
    friend void WindowAddControl(Window*, String*, Object*);

    RefPtr<::MenuBar> m_menuBar;
    std::vector<NamedControl> m_controls;
    std::int32_t m_contentWidth = 0;
    std::int32_t m_contentHeight = 0;
    bool m_isOpen = false;
};

// Constructs and opens the window: it joins the framework's window list, and its CreateControls, Layout
// and Open events are raised in that order; the platform shows it once they have run. If one of them
// raises, the window is closed again and the exception passes on.
void WindowDefaultConstructor(Window*);
Ref<Object> WindowAllocateObject(Window*, const ClassTable*);
void WindowAddControl(Window*, String* name, Object* control);
RefPtr<Object> RuntimeWindowControlByName(Window*, String* name);
RefPtr<Object> RuntimeControlReference(Window*, String* name);
void WindowMenuBarSetter(Window*, std::int32_t, MenuBar*);
RefPtr<MenuBar> WindowMenuBarGetter(Window*, std::int32_t);
void WindowMacProcIDSetter(Object*, std::int32_t, std::int32_t);

// The first open window whose class has this registered name, with one reference; nil when none.
RefPtr<Window> RuntimeGetImplicitWindow(String* className);

// Closes every open window (at shut-down). A Close handler that raises does not stop the others: its
// exception goes to report.
void RuntimeCloseAllWindows(void (*report)(RuntimeException*));
