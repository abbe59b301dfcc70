#pragma once

#include "Platform.h"

#include <cstdint>
#include <string_view>

class Window;
class MenuItem;
class Timer;

// What a platform reports back to the class library. Each call dispatches into the objects' events; an
// exception that leaves a handler goes to the application's UnhandledException event, and when nothing
// handles it the report ends the event loop with exit status 1.
void RuntimeDeliverMouseDown(Window&, std::int32_t x, std::int32_t y);
void RuntimeDeliverKeyDown(Window&, std::string_view keyText);
void RuntimeDeliverMenuChoice(MenuItem&);
// The deadline the platform was given for the timer has come; due is that deadline.
void RuntimeDeliverTimerDue(Timer&, Clock::time_point due);
// The user asked to close the window (its close button).
void RuntimeDeliverCloseRequest(Window&);
// The window is gone from the desktop (another program destroyed it): it closes, whatever its class
// makes of a close request, so that no program runs on without the window it had.
void RuntimeDeliverWindowGone(Window&);
// The window's content area now has this size; controls are laid out by their locks.
void RuntimeDeliverResize(Window&, std::int32_t width, std::int32_t height);
