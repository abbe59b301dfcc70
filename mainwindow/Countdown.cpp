#include "library/Conversions.h"
#include "library/Format.h"
#include "library/RGB.h"
#include "mainwindow/Window1.h"
#include "runtime/StackCheck.h"

namespace Window1 {

namespace {
constexpr std::int32_t kFullMinute = 60;

Ref<::Label> label(Window1* window)
{
    return checkNonNil(callMethod(window, Window1::kTimertext));
}
Ref<::ProgressBar> bar(Window1* window)
{
    return checkNonNil(callMethod(window, Window1::kLimitbar));
}

// The same steps for a mouse press and a key press: a full minute again, shown at once.
void resetCountdown(Window1* window)
{
    window->limit = kFullMinute;
    ::Label::Text::Set(label(window).ptr(), 0, String::create("01:00").ptr());
    ::Label::TextColor::Set(label(window).ptr(), 0, RGB(0, 0, 0, 0));
    ::ProgressBar::Value::Set(bar(window).ptr(), 0, kFullMinute);
}
} // namespace

void Window1::Event_Open(Window1* window)
{
    RefPtr<Window1> protect(window);
    RuntimeStackCheck();
    if (!window)
        RaiseNilObjectException();
    window->limit = kFullMinute;
}

void Window1::vorpel_timer_Action(Window1* window, ::Timer* timer)
{
    RefPtr<Window1> protect(window);
    RefPtr<::Timer> protectTimer(timer);
    RuntimeStackCheck();
    if (!window)
        RaiseNilObjectException();

    if (0 < window->limit)
        window->limit = window->limit - 1;
    const std::int32_t left = window->limit;

    {
        Ref<::Label> text = label(window);
        Ref<String> format = String::create("00");
        Ref<String> digits = Format(RuntimeCvtSInt32ToReal64(left), format.ptr());
        Ref<String> prefix = String::create("00:");
        Ref<String> shown = RuntimeAddString(prefix.ptr(), digits.ptr());
        ::Label::Text::Set(text.ptr(), 0, shown.ptr());
    }

    std::int32_t red = 0;
    if (left <= 5)
        red = 128;
    else if (left <= 14)
        red = 255;
    ::Label::TextColor::Set(label(window).ptr(), 0, RGB(red, 0, 0, 0));

    ::ProgressBar::Value::Set(bar(window).ptr(), 0, left);
}

bool Window1::Event_MouseDown(Window1* window, std::int32_t, std::int32_t)
{
    RefPtr<Window1> protect(window);
    RuntimeStackCheck();
    if (!window)
        RaiseNilObjectException();
    resetCountdown(window);
    return true;
}

// Returns false, not handled; the framework does nothing more with the key either way.
bool Window1::Event_KeyDown(Window1* window, String* key)
{
    RefPtr<Window1> protect(window);
    RefPtr<String> protectKey(key);
    RuntimeStackCheck();
    if (!window)
        RaiseNilObjectException();
    resetCountdown(window);
    return false;
}

} // namespace Window1
