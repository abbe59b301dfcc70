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
// open windows, the exception helper and the exit code. They change only through the methods here.
class FrameworkState {
public:
    // The platform in use, nil when none is chosen: for the calls that do without one (showing, changing
    // and closing windows, arming timers before a loop can run). RuntimePlatform is the one for the calls
    // that cannot.
    Platform* platformIfChosen() const { return m_platform; }
    void setPlatform(Platform*);

    Application* application() const { return m_application.get(); }
    void setApplication(Application*);

    // The windows constructed and not yet closed, in that order.
    const std::vector<Ref<Window>>& windows() const { return m_windows; }
    bool hasWindow(const Window&) const;
    void registerWindow(Window&);
    void unregisterWindow(Window&);

    // Never nil: a program that hands none has the default one.
    ExceptionHelper exceptionHelper() const { return m_exceptionHelper; }
    void setExceptionHelper(ExceptionHelper);

    bool loopRunning() const { return m_loopRunning; }
    void setLoopRunning(bool);
    bool quitRequested() const { return m_quitRequested; }
    void markQuitRequested();
    bool lateStartupDone() const { return m_lateStartupDone; }
    void markLateStartupDone();

    std::int32_t exitCode() const { return m_exitCode; }
    void setExitCode(std::int32_t);
    // How many finalisers had raised when this run began; more at the end make the exit status 1.
    std::size_t finalizerFailuresAtStart() const { return m_finalizerFailuresAtStart; }

    // A new run: no windows, no application, no quit asked for, late start-up still to come, exit code 0.
    void beginRun(std::size_t finalizerFailuresAtStart);

private:
    Platform* m_platform = nullptr;
    RefPtr<Application> m_application;
    std::vector<Ref<Window>> m_windows;
    ExceptionHelper m_exceptionHelper = &RuntimeDefaultExceptionHelper;
    bool m_loopRunning = false;
    bool m_quitRequested = false;
    bool m_lateStartupDone = false;
    std::int32_t m_exitCode = 0;
    std::size_t m_finalizerFailuresAtStart = 0;
};

FrameworkState& framework();

// Chooses the platform that shows windows and runs the loop; the caller keeps it alive.
void RuntimeSetPlatform(Platform*);
// The platform in use, for the calls that cannot go on without one (running the loop, a timer's next
// deadline): raises UnsupportedOperationException when none is chosen.
Platform& RuntimePlatform();

// Ends the event loop (or, before it runs, makes it return at once).
void RuntimeQuit();
