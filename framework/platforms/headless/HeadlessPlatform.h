#pragma once

#include "library/Platform.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class MenuItem;

// A platform without a display, for tests: a manual clock, scripted input and a record of what was
// shown. Advancing the clock fires due timers in deadline order, the clock standing at each deadline.
class HeadlessPlatform final : public Platform {
public:
    HeadlessPlatform();
    ~HeadlessPlatform() override;

    Clock::time_point now() override { return m_now; }
    void showWindow(Window&) override;
    void windowChanged(Window&, WindowAspect) override;
    void windowClosed(Window&) override;
    void controlChanged(RectControl&, ControlAspect) override;
    void scheduleTimer(Timer&, Clock::time_point deadline) override;
    void cancelTimer(Timer&) override;
    // Runs the script, step by step, until a step quits; an exhausted script also ends the loop.
    void run() override;
    void quit() override;

    // The manual clock.
    void advance(Clock::duration);
    void advanceTo(Clock::time_point);
    // Moves the clock without delivering anything, as a blocked loop would; the next advance catches up.
    void stall(Clock::duration duration) { m_now += duration; }

    // Scripted input, delivered at once.
    void pressMouse(Window&, std::int32_t x, std::int32_t y);
    void pressKey(Window&, std::string_view text);
    void chooseMenu(MenuItem&);
    void requestClose(Window&);
    // The desktop loses the window, as when another program destroys it.
    void destroyWindow(Window&);
    // Gives the window a content size, as a desktop would when it opens or resizes it.
    void resize(Window&, std::int32_t width, std::int32_t height);

    // Steps for run(), each run in order.
    void script(std::function<void()> step) { m_script.push_back(std::move(step)); }

    // Read-back.
    const std::vector<Window*>& shownWindows() const { return m_shown; }
    std::size_t controlChanges(ControlAspect) const;
    // What the library told of shown windows, in order; forgotten on request.
    const std::vector<WindowAspect>& windowChanges() const { return m_windowChanges; }
    void forgetWindowChanges() { m_windowChanges.clear(); }
    std::size_t scheduledTimerCount() const { return m_timers.size(); }
    std::optional<Clock::time_point> deadlineOf(const Timer&) const;
    bool quitCalled() const { return m_quit; }
    // The size given to full-screen windows when they are shown.
    std::int32_t screenWidth = 1920;
    std::int32_t screenHeight = 1080;

private:
    Clock::time_point m_now;
    std::map<const Timer*, Clock::time_point> m_timers;
    std::vector<Window*> m_shown;
    std::map<ControlAspect, std::size_t> m_changes;
    std::vector<WindowAspect> m_windowChanges;
    std::deque<std::function<void()>> m_script;
    bool m_quit = false;
};
