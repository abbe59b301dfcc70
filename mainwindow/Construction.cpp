#include "library/MassPropertySetter.h"
#include "mainwindow/PropertySets.h"
#include "mainwindow/Window1.h"
#include "mainwindow/vorpel_timer.h"
#include "menus/MainMenuBar.h"
#include "runtime/Delegate.h"
#include "runtime/StackCheck.h"

#include <string_view>

void SetProperties_(Object* object, String* set)
{
    RuntimeMassPropertySetter(object, set);
}

namespace Window1 {

namespace {
// Creates a control for the window, constructs it and registers it under the name; the window's
// registration is what keeps it from then on.
template <class Construct>
void addControl(Window1* window, const ClassTable* table, std::string_view name, Construct construct)
{
    Ref<Object> control = callMethod(window, ::Window::kNew, table);
    construct(control.ptr());
    Ref<String> key = String::create(name);
    callMethod(window, ::Window::kAddControl, key.ptr(), control.ptr());
}

void constructRectControl(Object* control)
{
    callMethod(control, ::RectControl::kConstructor);
}
} // namespace

void Window1::CreateControls(Window1* window)
{
    RefPtr<Window1> protect(window);
    RuntimeStackCheck();
    callMethod(window, kCreateControls0);
}

void Window1::CreateControls0_(Window1* window)
{
    RefPtr<Window1> protect(window);
    RuntimeStackCheck();

    addControl(window, ::Window1::vorpel_timer::lookup(), "vorpel_timer",
        [](Object* timer) { callMethod(timer, ::Window1::vorpel_timer::kConstructor); });
    SetProperties_(
        fetchControl<::Timer>(window, "vorpel_timer").get(), propertysets::asString(propertysets::kTimer).ptr());

    // The delegate holds the window weakly: a tick that outlives the window finds nil instead of keeping it
    // alive. The timer's ownerWindow and the window's control list do hold each other strongly while the
    // window is open; closing the window unlinks its controls, which breaks that cycle.
    RefPtr<::Timer> timer = fetchControl<::Timer>(window, "vorpel_timer");
    MethodEntry handler = window->classTable()->methods[kVorpelTimerAction.index];
    Ref<String> signature = String::create("( Timer )");
    Ref<Delegate> delegate
        = RuntimeCreateDelegate(Delegate::IM_InvokeEntry<::Timer>(), handler, window, signature.ptr(), true);
    RuntimeAddEventHandler(timer.get(), ::Timer::kAction.index, AddHandler::StubEntry<0>(), delegate.ptr());

    addControl(window, ::ProgressBar::lookup(), "limitbar", &constructRectControl);
    SetProperties_(fetchControl<::ProgressBar>(window, "limitbar").get(),
        propertysets::asString(propertysets::kProgressBar).ptr());

    addControl(window, ::Label::lookup(), "timertext", &constructRectControl);
    // Size and unit are not in the label's set, so they go first and the set leaves them as they are.
    ::Label::TextSize::Set(fetchControl<::Label>(window, "timertext").get(), 0, 256.0f);
    ::Label::TextUnit::Set(fetchControl<::Label>(window, "timertext").get(), 0, 0);
    SetProperties_(
        fetchControl<::Label>(window, "timertext").get(), propertysets::asString(propertysets::kLabel).ptr());
}

void Window1::Layout(Window1* window)
{
    RefPtr<Window1> protect(window);
    RuntimeStackCheck();
    {
        RefPtr<::MainMenuBar::MainMenuBar> bar = ::MainMenuBar::instance();
        ::Window::MenuBar::Set(window, 0, bar.get());
    }
    SetProperties_(window, propertysets::asString(propertysets::kWindow).ptr());
}

} // namespace Window1
