#pragma once

#include "FrameworkState.h"

#include <cstdint>

class Application;

// The class library's start-up and shut-down, in the order a program calls them.
// Begins a run (no windows, no application, exit code 0) and builds every class table of the library.
void RuntimeLibraryInitialize();
// Closes the open windows, reporting any exception a Close handler raises, and releases the application
// object.
void RuntimeLibraryFinalize();
// The helper every delivery runs through; nil, or none handed, is RuntimeDefaultExceptionHelper.
void RuntimeSetExceptionHelper(ExceptionHelper);
// The library's classes are all its own and built by RuntimeLibraryInitialize: this only checks that, in
// debug builds.
void RuntimeInitExternalClasses();
// Nothing loads plug-ins, so the table's entries would never be read: this checks the count and keeps
// nothing.
void RuntimeAllocatePluginEntrypointsTable(std::int32_t count);
void RuntimeRegisterAppObject(Application*);
// Finishes the framework's initialisation and calls lateStartup once, on the main thread.
void RunFrameworkInitialization(void (*lateStartup)());
// Runs the event loop until the application quits.
void RuntimeRun();
// Reports an exception that nothing handled: one line on stderr; the exit code becomes 1.
void RuntimeUnhandledException(Object* exception);
// The exit code: 0 after a normal quit; 1 after an unhandled exception, or when a finaliser raised since
// RuntimeLibraryInitialize (at shut-down too, when the last references go), even after a normal quit.
std::int32_t RuntimeExit();
