#pragma once

#include "library/Platform.h"

#include <optional>

// Passes every call on to the real platform and prints the timer's arm and tick lines on the way: a
// repeating timer's reschedule is the moment its tick runs, as the library schedules the next deadline
// first and then raises Action.
class MeasuredPlatform final : public Platform {
public:
    explicit MeasuredPlatform(Platform& inner)
        : m_inner(inner)
    {
    }

    Clock::time_point now() override { return m_inner.now(); }
    void showWindow(Window& window) override { m_inner.showWindow(window); }
    void windowChanged(Window& window, WindowAspect aspect) override
    {
        m_inner.windowChanged(window, aspect);
    }
    void windowClosed(Window& window) override { m_inner.windowClosed(window); }
    void controlChanged(RectControl& control, ControlAspect aspect) override
    {
        m_inner.controlChanged(control, aspect);
    }
    void scheduleTimer(Timer&, Clock::time_point deadline) override;
    void cancelTimer(Timer& timer) override { m_inner.cancelTimer(timer); }
    void run() override { m_inner.run(); }
    void quit() override { m_inner.quit(); }

private:
    Platform& m_inner;
    // The grid of the repeating timer: its origin, and the deadline it waits for now.
    std::optional<Clock::time_point> m_origin;
    Clock::time_point m_pending {};
};
