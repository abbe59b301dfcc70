#pragma once

#include "runtime/RuntimeException.h"

#include <cstdint>

// The program from its class tables to its exit status, on the platform the caller has chosen; the
// runtime must be initialised first.
std::int32_t runProgram();

// Builds every class table: the class library's, then the program's own four.
void initialize();
// Releases the shared objects, the shared menu bar last.
void finalize();

// The start-up driver. It catches whatever escapes start-up or the event loop and hands it to the
// framework's report; the exception helper below catches only runtime exceptions, to hand them back.
void Main_();
void EarlyStartup_();
void InitFileTypes_();
void InitPluginEntrypoints_();
void NewAppInstance_();
void ApplicationAddMenuHandlers_();
void LateStartup_();
void MakeDefaultView_();

// The framework's exception helper: runs routine(argument) and returns the runtime exception it raised
// with one reference, or nil.
RuntimeException* CallFunctionWithExceptionHandling_(void (*routine)(void*), void* argument);
