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

    // Design-time and run-time properties, written only through their setters: each change the platform
    // must hear of reaches it from there.
    std::int32_t placement() const { return m_placement; }
    std::int32_t width() const { return m_width; } // design size; controls are placed against it
    std::int32_t height() const { return m_height; }
    std::int32_t minWidth() const { return m_minWidth; }
    std::int32_t minHeight() const { return m_minHeight; }
    std::int32_t maxWidth() const { return m_maxWidth; }
    std::int32_t maxHeight() const { return m_maxHeight; }
    std::int32_t frame() const { return m_frame; }
    bool composite() const { return m_composite; }
    bool hasBackColor() const { return m_hasBackColor; }
    Color backColor() const { return m_backColor; }
    String& title() const { return m_title.get(); }
    bool visible() const { return m_visible; }
    bool fullScreen() const { return m_fullScreen; }
    bool menuBarVisible() const { return m_menuBarVisible; }
    bool closeButton() const { return m_closeButton; }
    bool resizeable() const { return m_resizeable; }
    bool liveResize() const { return m_liveResize; }
    bool maximizeButton() const { return m_maximizeButton; }
    bool minimizeButton() const { return m_minimizeButton; }
    bool fullScreenButton() const { return m_fullScreenButton; }
    std::int32_t macProcId() const { return m_macProcId; }

    // State kept by the framework.
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
    friend void WindowMacProcIDSetter(Object*, std::int32_t, std::int32_t);

    std::int32_t m_placement = 0;
    std::int32_t m_width = 600;
    std::int32_t m_height = 400;
    std::int32_t m_minWidth = 64;
    std::int32_t m_minHeight = 64;
    std::int32_t m_maxWidth = 32000;
    std::int32_t m_maxHeight = 32000;
    std::int32_t m_frame = 0;
    bool m_composite = false;
    bool m_hasBackColor = false;
    Color m_backColor { 255, 255, 255, 0 };
    Ref<String> m_title = String::create("");
    bool m_visible = true;
    bool m_fullScreen = false;
    bool m_menuBarVisible = true;
    bool m_closeButton = true;
    bool m_resizeable = true;
    bool m_liveResize = true;
    bool m_maximizeButton = true;
    bool m_minimizeButton = true;
    bool m_fullScreenButton = false;
    std::int32_t m_macProcId = 0;

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
