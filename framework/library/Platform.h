#pragma once

#include <chrono>

class Window;
class RectControl;
class Timer;

// What changed on a control, so that a platform redraws only that.
enum class ControlAspect { Text, TextColor, Font, Alignment, Value, Maximum, Geometry, Visibility, Enabled };
// What changed on a window.
enum class WindowAspect { Title, Size, Flags, MenuBar, Visibility };

using Clock = std::chrono::steady_clock;

// The small interface through which the class library shows its state. The library keeps every
// object's state; a platform reads it from the objects and delivers input back through the calls in
// PlatformEvents.h. Calls about a window that has not been shown yet may be ignored: showWindow comes
// once its construction has ended, with its final state.
class Platform {
public:
    virtual ~Platform() = default;

    virtual Clock::time_point now() = 0;

    virtual void showWindow(Window&) = 0;
    virtual void windowChanged(Window&, WindowAspect) = 0;
    // The window is closed or gone; the platform drops everything it keeps for it.
    virtual void windowClosed(Window&) = 0;
    virtual void controlChanged(RectControl&, ControlAspect) = 0;

    // Wakes the loop at an absolute deadline to deliver the timer's due call; a later call for the same
    // timer replaces the earlier deadline.
    virtual void scheduleTimer(Timer&, Clock::time_point deadline) = 0;
    virtual void cancelTimer(Timer&) = 0;

    // Delivers events until quit() is called.
    virtual void run() = 0;
    virtual void quit() = 0;
};
