#include "FrameworkState.h"

#include "Application.h"
#include "Platform.h"
#include "Window.h"

#include <algorithm>
#include <vector>

FrameworkState& framework()
{
    static FrameworkState state;
    return state;
}

void FrameworkState::setPlatform(Platform* platform)
{
    m_platform = platform;
}

void FrameworkState::setApplication(Application* application)
{
    if (m_application.get() == application)
        return;
    m_application = application;
}

namespace {
auto holding(const Window& window)
{
    return [&window](const Ref<Window>& held) { return held.ptr() == &window; };
}
} // namespace

bool FrameworkState::hasWindow(const Window& window) const
{
    return std::any_of(m_windows.begin(), m_windows.end(), holding(window));
}

void FrameworkState::registerWindow(Window& window)
{
    if (hasWindow(window))
        return;
    m_windows.emplace_back(window);
}

void FrameworkState::unregisterWindow(Window& window)
{
    // Registration keeps each window once.
    std::erase_if(m_windows, holding(window));
}

void FrameworkState::setExceptionHelper(ExceptionHelper helper)
{
    m_exceptionHelper = helper ? helper : &RuntimeDefaultExceptionHelper;
}

void FrameworkState::setLoopRunning(bool running)
{
    m_loopRunning = running;
}

void FrameworkState::markQuitRequested()
{
    m_quitRequested = true;
}

void FrameworkState::markLateStartupDone()
{
    m_lateStartupDone = true;
}

void FrameworkState::setExitCode(std::int32_t code)
{
    m_exitCode = code;
}

void FrameworkState::beginRun(std::size_t finalizerFailuresAtStart)
{
    m_windows.clear();
    m_application = nullptr;
    m_quitRequested = false;
    m_lateStartupDone = false;
    m_exitCode = 0;
    m_finalizerFailuresAtStart = finalizerFailuresAtStart;
}

void RuntimeSetPlatform(Platform* platform)
{
    framework().setPlatform(platform);
}

Platform& RuntimePlatform()
{
    Platform* platform = framework().platformIfChosen();
    if (!platform)
        RuntimeRaise(UnsupportedOperationException::lookup(), "no platform has been chosen to show windows");
    return *platform;
}

RuntimeException* RuntimeDefaultExceptionHelper(void (*routine)(void*), void* argument)
{
    try {
        routine(argument);
    } catch (const RaisedException& raised) {
        return RefPtr<RuntimeException>(&raised.exception()).leakRef();
    }
    return nullptr;
}

void RuntimeQuit()
{
    framework().markQuitRequested();
    if (Platform* platform = framework().platformIfChosen())
        platform->quit();
}
