#include "LockLayout.h"

#include "RectControl.h"
#include "Window.h"

#include <algorithm>

namespace {
// One axis: the control's start and length at design time, moved by the growth of the window.
void place(std::int32_t& start, std::int32_t& length, bool lockStart, bool lockEnd, std::int32_t growth)
{
    if (lockStart && lockEnd)
        length = std::max<std::int32_t>(0, length + growth);
    else if (lockEnd)
        start += growth;
}
} // namespace

void RuntimeLayoutControls(Window& window)
{
    bool sized = window.contentWidth() > 0 && window.contentHeight() > 0;
    std::int32_t growX = sized ? window.contentWidth() - window.width() : 0;
    std::int32_t growY = sized ? window.contentHeight() - window.height() : 0;
    for (const Window::NamedControl& entry : window.controls()) {
        if (!entry.control->isA(RectControl::lookup()))
            continue;
        auto& control = static_cast<RectControl&>(entry.control.get());
        RectControl::Rect rect = control.designRect();
        place(rect.left, rect.width, control.m_lockLeft, control.m_lockRight, growX);
        place(rect.top, rect.height, control.m_lockTop, control.m_lockBottom, growY);
        if (rect == control.m_frame)
            continue;
        control.m_frame = rect;
        if (window.isOpen())
            RuntimeControlChanged(control, ControlAspect::Geometry);
    }
}
