#pragma once

#include "Control.h"
#include "Platform.h"

// A control with a rectangle on its window. Left, Top, Width and Height are its design-time place;
// the frame is where the lock layout puts it in the window's current size.
class RectControl : public Control {
public:
    struct Rect {
        std::int32_t left = 0, top = 0, width = 0, height = 0;
        bool operator==(const Rect&) const = default;
    };

    // Written only through the setters: a change of place or locks lays the window out again, and the
    // platform hears of the others.
    std::int32_t left() const { return m_left; }
    std::int32_t top() const { return m_top; }
    std::int32_t width() const { return m_width; }
    std::int32_t height() const { return m_height; }
    bool lockLeft() const { return m_lockLeft; }
    bool lockTop() const { return m_lockTop; }
    bool lockRight() const { return m_lockRight; }
    bool lockBottom() const { return m_lockBottom; }
    bool visible() const { return m_visible; }
    bool enabled() const { return m_enabled; }
    String& helpTag() const { return m_helpTag.get(); }
    bool autoDeactivate() const { return m_autoDeactivate; }
    std::int32_t tabIndex() const { return m_tabIndex; }
    String& initialParent() const { return m_initialParent.get(); }
    // Where the lock layout has placed it.
    const Rect& frame() const { return m_frame; }

    static constexpr Slot<void()> kConstructor { Control::kMethodCount };
    static constexpr std::size_t kMethodCount = Control::kMethodCount + 1;
    static void Constructor(RectControl*);

    Rect designRect() const { return { m_left, m_top, m_width, m_height }; }

    static ClassTable* ctbl;
    static void ctblinit();
    static ClassTable* lookup();

#ifdef VORPEL_TEST_HOOKS
    bool constructed = false; // for the tests: the framework's default construction ran
#endif

private:
    friend void RectControlDefaultConstructor(RectControl*);
    friend void RuntimeLayoutControls(Window&);

    std::int32_t m_left = 0;
    std::int32_t m_top = 0;
    std::int32_t m_width = 100;
    std::int32_t m_height = 20;
    bool m_lockLeft = false;
    bool m_lockTop = false;
    bool m_lockRight = false;
    bool m_lockBottom = false;
    bool m_visible = true;
    bool m_enabled = true;
    Ref<String> m_helpTag = String::create("");
    bool m_autoDeactivate = true;
    std::int32_t m_tabIndex = 0;
    Ref<String> m_initialParent = String::create("");
    Rect m_frame;
};

void RectControlDefaultConstructor(RectControl*);

// Tells the platform, if any, that the control changed.
void RuntimeControlChanged(RectControl&, ControlAspect);
// The same, for the property tables' setters.
inline void propertyChanged(RectControl* control, ControlAspect aspect)
{
    RuntimeControlChanged(*control, aspect);
}
