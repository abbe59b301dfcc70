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

    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 100;
    std::int32_t height = 20;
    bool lockLeft = false;
    bool lockTop = false;
    bool lockRight = false;
    bool lockBottom = false;
    bool visible = true;
    bool enabled = true;
    Ref<String> helpTag = String::create("");
    bool autoDeactivate = true;
    std::int32_t tabIndex = 0;
    Ref<String> initialParent = String::create("");
    Rect frame;

    static constexpr Slot<void()> kConstructor { Control::kMethodCount };
    static constexpr std::size_t kMethodCount = Control::kMethodCount + 1;
    static void Constructor(RectControl*);

    Rect designRect() const { return { left, top, width, height }; }

    static ClassTable* ctbl;
    static void ctblinit();
    static ClassTable* lookup();

#ifdef VORPEL_TEST_HOOKS
    bool constructed = false; // for the tests: the framework's default construction ran
#endif
};

void RectControlDefaultConstructor(RectControl*);

// Tells the platform, if any, that the control changed.
void RuntimeControlChanged(RectControl&, ControlAspect);
// The same, for the property tables' setters.
inline void propertyChanged(RectControl* control, ControlAspect aspect)
{
    RuntimeControlChanged(*control, aspect);
}
