#include "PlatformEvents.h"

#include "Application.h"
#include "FrameworkState.h"
#include "MenuItem.h"
#include "Startup.h"
#include "Timer.h"
#include "Window.h"

#include <memory>
#include <type_traits>

namespace {
template <class Body> void runBody(void* body)
{
    (*static_cast<Body*>(body))();
}

// Runs one delivery through the exception helper; an exception that leaves it goes to the application's
// UnhandledException event, and when nothing handles it the framework reports it and ends the loop.
// A foreign C++ exception, which the exception helper passes on, is taken the same way: nothing a
// delivery throws may unwind into the platform's event loop.
template <class Body> void deliver(Body&& body)
{
    using Plain = std::remove_reference_t<Body>;
    RefPtr<RuntimeException> exception;
    bool failed = false;
    try {
        void* argument = const_cast<void*>(static_cast<const void*>(std::addressof(body)));
        exception = adoptRef(framework().exceptionHelper()(&runBody<Plain>, argument));
        failed = static_cast<bool>(exception);
    } catch (...) {
        exception = RuntimeCaughtException();
        failed = true;
    }
    if (!failed)
        return;
    bool handled = false;
    if (RefPtr<Application> application = framework().application(); application && exception) {
        try {
            handled = RuntimeRaiseEvent(*application, Application::kUnhandledException, exception.get())
                          .value_or(false);
        } catch (...) {
            exception = RuntimeCaughtException();
        }
    }
    if (!handled) {
        RuntimeUnhandledException(exception.get());
        RuntimeQuit();
    }
}
} // namespace

void RuntimeDeliverMouseDown(Window& window, std::int32_t x, std::int32_t y)
{
    Ref<Window> protect(window);
    deliver([&] { callMethod(&window, Window::kCallMouseDown, x, y); });
}

void RuntimeDeliverKeyDown(Window& window, std::string_view keyText)
{
    Ref<Window> protect(window);
    Ref<String> key = String::create(keyText);
    deliver([&] { callMethod(&window, Window::kKeyDown, key.ptr()); });
}

void RuntimeDeliverMenuChoice(MenuItem& item)
{
    Ref<MenuItem> protect(item);
    deliver([&] {
        if (item.enabled())
            RuntimeRaiseEvent(item, MenuItem::kAction);
    });
}

void RuntimeDeliverTimerDue(Timer& timer, Clock::time_point due)
{
    Ref<Timer> protect(timer);
    deliver([&] { RuntimeTimerDue(timer, due); });
}

void RuntimeDeliverCloseRequest(Window& window)
{
    Ref<Window> protect(window);
    deliver([&] { callMethod(&window, Window::kClose); });
}

void RuntimeDeliverWindowGone(Window& window)
{
    Ref<Window> protect(window);
    deliver([&] { Window::Close(&window); });
}

void RuntimeDeliverResize(Window& window, std::int32_t width, std::int32_t height)
{
    Ref<Window> protect(window);
    deliver([&] { window.setContentSize(width, height); });
}
