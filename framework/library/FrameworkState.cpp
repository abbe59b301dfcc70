#include "FrameworkState.h"

#include "Application.h"
#include "Platform.h"
#include "Window.h"

FrameworkState& framework()
{
    static FrameworkState state;
    return state;
}

void RuntimeSetPlatform(Platform* platform)
{
    framework().platform = platform;
}

Platform& RuntimePlatform()
{
    if (!framework().platform)
        RuntimeRaise(UnsupportedOperationException::lookup(), "no platform has been chosen to show windows");
    return *framework().platform;
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
    framework().quitRequested = true;
    if (framework().platform)
        framework().platform->quit();
}
