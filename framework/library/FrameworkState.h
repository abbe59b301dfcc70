#pragma once

#include "runtime/Object.h"
#include "runtime/RuntimeException.h"

#include <cstdint>
#include <vector>

class Application;
class Window;
class Platform;

using ExceptionHelper = RuntimeException* (*)(void (*routine)(void*), void* argument);

// The helper the framework runs deliveries through when the program hands none: calls routine(argument)
// and returns the runtime exception it raised with one reference, or nil; anything else passes on.
RuntimeException* RuntimeDefaultExceptionHelper(void (*routine)(void*), void* argument);

// The framework's own state, in one place: the platform in use, the registered application object, the
// open windows, the exception helper and the exit code.
struct FrameworkState {
    Platform* platform = nullptr;
    RefPtr<Application> application;
    std::vector<Ref<Window>> windows;
    ExceptionHelper exceptionHelper = &RuntimeDefaultExceptionHelper; // never nil
    bool loopRunning = false;
    bool quitRequested = false;
    bool lateStartupDone = false;
    std::int32_t exitCode = 0;
    std::size_t finalizerFailuresAtStart = 0;
};

FrameworkState& framework();

// Chooses the platform that shows windows and runs the loop; the caller keeps it alive.
void RuntimeSetPlatform(Platform*);
Platform& RuntimePlatform();

// Ends the event loop (or, before it runs, makes it return at once).
void RuntimeQuit();
