#include "HeadlessPlatform.h"

#include "library/FrameworkState.h"
#include "library/MenuItem.h"
#include "library/PlatformEvents.h"
#include "library/Timer.h"
#include "library/Window.h"

#include <algorithm>

// The clock starts well away from zero so that arithmetic before the first deadline stays positive.
HeadlessPlatform::HeadlessPlatform()
    : m_now(Clock::time_point(std::chrono::hours(1)))
{
}

HeadlessPlatform::~HeadlessPlatform()
{
    if (framework().platformIfChosen() == this)
        RuntimeSetPlatform(nullptr);
}

void HeadlessPlatform::showWindow(Window& window)
{
    if (std::find(m_shown.begin(), m_shown.end(), &window) == m_shown.end())
        m_shown.push_back(&window);
    // A desktop gives a window its size when it shows it.
    if (window.fullScreen())
        RuntimeDeliverResize(window, screenWidth, screenHeight);
    else
        RuntimeDeliverResize(window, window.width(), window.height());
}

void HeadlessPlatform::windowChanged(Window&, WindowAspect aspect)
{
    m_windowChanges.push_back(aspect);
}

void HeadlessPlatform::windowClosed(Window& window)
{
    m_shown.erase(std::remove(m_shown.begin(), m_shown.end(), &window), m_shown.end());
}

void HeadlessPlatform::controlChanged(RectControl&, ControlAspect aspect)
{
    ++m_changes[aspect];
}

void HeadlessPlatform::scheduleTimer(Timer& timer, Clock::time_point deadline)
{
    m_timers[&timer] = deadline;
}

void HeadlessPlatform::cancelTimer(Timer& timer)
{
    m_timers.erase(&timer);
}

void HeadlessPlatform::run()
{
    m_quit = false;
    while (!m_quit && !m_script.empty()) {
        auto step = std::move(m_script.front());
        m_script.pop_front();
        step();
    }
}

void HeadlessPlatform::quit()
{
    m_quit = true;
}

void HeadlessPlatform::advance(Clock::duration duration)
{
    advanceTo(m_now + duration);
}

void HeadlessPlatform::advanceTo(Clock::time_point target)
{
    // Fire the earliest due timer, one at a time: a firing may schedule, cancel or destroy timers.
    for (;;) {
        auto earliest = std::min_element(m_timers.begin(), m_timers.end(),
            [](const auto& a, const auto& b) { return a.second < b.second; });
        if (earliest == m_timers.end() || earliest->second > target)
            break;
        Clock::time_point due = earliest->second;
        m_now = std::max(m_now, due);
        Timer* timer = const_cast<Timer*>(earliest->first);
        m_timers.erase(earliest);
        RuntimeDeliverTimerDue(*timer, due);
    }
    m_now = std::max(m_now, target);
}

void HeadlessPlatform::pressMouse(Window& window, std::int32_t x, std::int32_t y)
{
    RuntimeDeliverMouseDown(window, x, y);
}

void HeadlessPlatform::pressKey(Window& window, std::string_view text)
{
    RuntimeDeliverKeyDown(window, text);
}

void HeadlessPlatform::chooseMenu(MenuItem& item)
{
    RuntimeDeliverMenuChoice(item);
}

void HeadlessPlatform::requestClose(Window& window)
{
    RuntimeDeliverCloseRequest(window);
}

void HeadlessPlatform::destroyWindow(Window& window)
{
    RuntimeDeliverWindowGone(window);
}

void HeadlessPlatform::resize(Window& window, std::int32_t width, std::int32_t height)
{
    RuntimeDeliverResize(window, width, height);
}

std::size_t HeadlessPlatform::controlChanges(ControlAspect aspect) const
{
    auto found = m_changes.find(aspect);
    return found == m_changes.end() ? 0 : found->second;
}

std::optional<Clock::time_point> HeadlessPlatform::deadlineOf(const Timer& timer) const
{
    auto found = m_timers.find(&timer);
    if (found == m_timers.end())
        return std::nullopt;
    return found->second;
}
