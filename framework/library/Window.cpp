#include "Window.h"

#include "FrameworkState.h"
#include "LockLayout.h"
#include "MenuBar.h"
#include "PaneChild.h"
#include "Platform.h"
#include "PropertySetters.h"
#include "RectControl.h"
#include "runtime/CallTrace.h"
#include "runtime/MainThread.h"

#include <exception>
#include <utility>

ClassTable* Window::ctbl = nullptr;

namespace {
void notify(Window* window, WindowAspect aspect)
{
    if (window->isOpen() && framework().platformIfChosen())
        framework().platformIfChosen()->windowChanged(*window, aspect);
}
} // namespace

// What a property's change tells: a new design size lays the controls out again first. Outside the
// anonymous namespace, so that property::store finds it by the argument's type.
static void propertyChanged(Window* window, WindowAspect aspect)
{
    if (aspect == WindowAspect::Size)
        RuntimeLayoutControls(*window);
    notify(window, aspect);
}

namespace {
// Calls the _PaneChild operation _SetWindow of an object placed on a window that implements it.
void linkPaneChild(Object& child, Window* window)
{
    if (const InterfaceImpl* pane = child.classTable()->findInterface(PaneChild_::lookup()))
        entryAs<void (*)(Object*, Window*)>(pane->method(PaneChild_::kSetWindow))(&child, window);
    else if (child.isA(Control::lookup()))
        callMethod(&child, Control::kSetWindow, window);
}
} // namespace

void Window::ctblinit()
{
    if (ctbl)
        return;
    ctbl = RuntimeNewClass(Object::lookup());
    RuntimeSetClassName(ctbl, "Window");
    ctbl->allocate = &allocateInstance<Window>;
    RuntimeNewVtable(ctbl,
        { method<&Window::Constructor>(), method<&Window::new_>(), method<&Window::AddControl_>(),
            method<&Window::ControlByName_>(), method<&Window::CallMouseDown_>(), method<&Window::KeyDown_>(),
            method<&Window::Close>() });
    auto pub = [] { return RuntimeAllocateAttributeTable({ { "__Scope", "Public" } }); };
    auto hidden = [] { return RuntimeAllocateAttributeTable({ { "__Scope", "Public" }, { "Hidden", "" } }); };
    RuntimeRegisterOperation(ctbl, "Constructor", "", "", pub());
    RuntimeRegisterOperation(ctbl, "__New", "ClassTable", "Object", hidden());
    RuntimeRegisterOperation(ctbl, "_AddControl", "s,Object", "", hidden());
    RuntimeRegisterOperation(ctbl, "_ControlByName", "s", "Object", hidden());
    RuntimeRegisterOperation(ctbl, "_CallMouseDown", "i4,i4", "b", hidden());
    RuntimeRegisterOperation(ctbl, "_KeyDown", "s", "b", hidden());
    RuntimeRegisterOperation(ctbl, "Close", "", "", pub());
    RuntimeDeclareEvents(ctbl,
        { "Open", "Close", "Activate", "Deactivate", "CreateControls", "Layout", "MouseDown", "KeyDown",
            "Paint", "Resized" });

    using property::row;
    using enum WindowAspect;
    static constexpr property::Row properties[] = {
        row<&Window::m_placement, Flags>("Placement", "i4"),
        row<&Window::m_width, Size>("Width", "i4"),
        row<&Window::m_height, Size>("Height", "i4"),
        row<&Window::m_minWidth, Flags>("MinWidth", "i4"),
        row<&Window::m_minHeight, Flags>("MinHeight", "i4"),
        row<&Window::m_maxWidth, Flags>("MaxWidth", "i4"),
        row<&Window::m_maxHeight, Flags>("MaxHeight", "i4"),
        row<&Window::m_frame, Flags>("Frame", "i4"),
        row<&Window::m_composite, Flags>("Composite", "b"),
        row<&Window::m_hasBackColor, Flags>("HasBackColor", "b"),
        row<&Window::m_backColor, Flags>("BackColor", "c"),
        row<&Window::m_title, Title>("Title", "s"),
        row<&Window::m_visible, Visibility>("Visible", "b"),
        row<&Window::m_fullScreen, Flags>("FullScreen", "b"),
        row<&Window::m_menuBarVisible, Flags>("MenuBarVisible", "b"),
        row<&Window::m_closeButton, Flags>("CloseButton", "b"),
        row<&Window::m_resizeable, Flags>("Resizeable", "b"),
        row<&Window::m_liveResize, Flags>("LiveResize", "b"),
        row<&Window::m_maximizeButton, Flags>("MaximizeButton", "b"),
        row<&Window::m_minimizeButton, Flags>("MinimizeButton", "b"),
        row<&Window::m_fullScreenButton, Flags>("FullScreenButton", "b"),
        { "MacProcId", "i4", &WindowMacProcIDSetter, &property::get<&Window::m_macProcId> },
    };
    property::registerRows(ctbl, properties);
    RuntimeSetClassAttribute(ctbl, "__Scope", "Public");
}

ClassTable* Window::lookup()
{
    return classLookup<Window>();
}

void WindowMacProcIDSetter(Object* window, std::int32_t index, std::int32_t value)
{
    property::set<&Window::m_macProcId, WindowAspect::Flags>(window, index, value);
}

void Window::setMenuBar(::MenuBar* bar)
{
    if (m_menuBar.get() == bar)
        return;
    m_menuBar = bar;
    notify(this, WindowAspect::MenuBar);
}

void Window::setContentSize(std::int32_t shownWidth, std::int32_t shownHeight)
{
    if (m_contentWidth == shownWidth && m_contentHeight == shownHeight)
        return;
    m_contentWidth = shownWidth;
    m_contentHeight = shownHeight;
    RuntimeLayoutControls(*this);
    RuntimeRaiseEvent(*this, Window::kResized);
}

void Window::Constructor(Window* window)
{
    RefPtr<Window> protect(window);
    UITrap_();
    WindowDefaultConstructor(window);
}

void WindowDefaultConstructor(Window* window)
{
    if (!window)
        RaiseNilObjectException();
    Ref<Window> protect(*window);
    framework().registerWindow(*window);
    try {
        RuntimeRaiseEvent(*window, Window::kCreateControls);
        RuntimeRaiseEvent(*window, Window::kLayout);
        window->m_isOpen = true;
        RuntimeLayoutControls(*window);
        RuntimeRaiseEvent(*window, Window::kOpenEvent);
    } catch (...) {
        Window::Close(window);
        throw;
    }
    if (window->m_isOpen && window->m_visible && framework().platformIfChosen())
        framework().platformIfChosen()->showWindow(*window);
}

Ref<Object> Window::new_(Window* window, const ClassTable* table)
{
    return WindowAllocateObject(window, table);
}

Ref<Object> WindowAllocateObject(Window*, const ClassTable* table)
{
    return RuntimeNewObject(table);
}

void Window::AddControl_(Window* window, String* name, Object* control)
{
    RefPtr<Window> protect(window);
    RefPtr<String> protectName(name);
    RefPtr<Object> protectControl(control);
    UITrap_();
    WindowAddControl(window, name, control);
}

void WindowAddControl(Window* window, String* name, Object* control)
{
    if (!window || !name || !control)
        RaiseNilObjectException();
    window->m_controls.push_back({ Ref<String>(*name), Ref<Object>(*control) });
    linkPaneChild(*control, window);
    if (control->isA(RectControl::lookup()))
        RuntimeLayoutControls(*window);
}

RefPtr<Object> Window::ControlByName_(Window* window, String* name)
{
    return RuntimeWindowControlByName(window, name);
}

RefPtr<Object> RuntimeWindowControlByName(Window* window, String* name)
{
    return RuntimeControlReference(window, name);
}

RefPtr<Object> RuntimeControlReference(Window* window, String* name)
{
    if (!window || !name)
        return nullptr;
    for (const Window::NamedControl& entry : window->controls()) {
        if (entry.name->bytes() == name->bytes())
            return RefPtr<Object>(entry.control.ptr());
    }
    return nullptr;
}

bool Window::CallMouseDown_(Window* window, std::int32_t x, std::int32_t y)
{
    if (!window)
        RaiseNilObjectException();
    Ref<Window> protect(*window);
    return RuntimeRaiseEvent(*window, Window::kMouseDown, x, y).value_or(false);
}

bool Window::KeyDown_(Window* window, String* key)
{
    if (!window)
        RaiseNilObjectException();
    Ref<Window> protect(*window);
    RefPtr<String> protectKey(key);
    return RuntimeRaiseEvent(*window, Window::kKeyDownEvent, key).value_or(false);
}

void Window::Close(Window* window)
{
    if (!window)
        RaiseNilObjectException();
    Ref<Window> protect(*window);
    if (!framework().hasWindow(*window) && !window->m_isOpen)
        return;
    bool wasOpen = window->m_isOpen;
    window->m_isOpen = false;
    // A Close handler that raises does not leave the window half closed: it closes, then the exception
    // passes on.
    std::exception_ptr raised;
    if (wasOpen) {
        try {
            RuntimeRaiseEvent(*window, Window::kCloseEvent);
        } catch (...) {
            raised = std::current_exception();
        }
    }
    if (framework().platformIfChosen())
        framework().platformIfChosen()->windowClosed(*window);
    // Unlink and drop the controls: a linked child may hold its window, and the window goes with them.
    std::vector<NamedControl> controls = std::exchange(window->m_controls, {});
    for (NamedControl& entry : controls)
        linkPaneChild(entry.control.get(), nullptr);
    controls.clear();
    window->setMenuBar(nullptr);
    framework().unregisterWindow(*window);
    if (wasOpen && framework().windows().empty() && framework().loopRunning())
        RuntimeQuit();
    if (raised)
        std::rethrow_exception(raised);
}

void Window::Title::Set(Window* window, std::int32_t, String* title)
{
    UITrap_();
    if (!window)
        RaiseNilObjectException();
    property::store<&Window::m_title, WindowAspect::Title>(window, title);
}

void WindowMenuBarSetter(Window* window, std::int32_t, ::MenuBar* bar)
{
    if (!window)
        RaiseNilObjectException();
    window->setMenuBar(bar);
}

RefPtr<::MenuBar> WindowMenuBarGetter(Window* window, std::int32_t)
{
    if (!window)
        RaiseNilObjectException();
    return window->menuBar();
}

void Window::MenuBar::Set(Window* window, std::int32_t index, ::MenuBar* bar)
{
    TracedCall trace("Window.MenuBar.Set", { window, index, bar });
    UITrap_();
    WindowMenuBarSetter(window, index, bar);
}

RefPtr<::MenuBar> Window::MenuBar::Get(Window* window, std::int32_t index)
{
    UITrap_();
    return WindowMenuBarGetter(window, index);
}

RefPtr<Window> RuntimeGetImplicitWindow(String* className)
{
    TracedCall trace("RuntimeGetImplicitWindow", { className });
    if (!className)
        return nullptr;
    for (const Ref<Window>& window : framework().windows()) {
        if (window->isOpen() && window->classTable()->nameView() == className->bytes())
            return RefPtr<Window>(window.ptr());
    }
    return nullptr;
}

void RuntimeCloseAllWindows(void (*report)(RuntimeException*))
{
    while (!framework().windows().empty()) {
        Ref<Window> window = framework().windows().back();
        try {
            Window::Close(window.ptr());
        } catch (...) {
            report(RuntimeCaughtException().get());
        }
    }
}
