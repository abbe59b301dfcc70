#include "mainwindow/Window1.h"

#include "library/MenuBar.h"
#include "runtime/StackCheck.h"

#include <string_view>

namespace Window1 {

ClassTable* Window1::ctbl = nullptr;

namespace {
AttributeTable publicScope()
{
    return RuntimeAllocateAttributeTable({ { "__Scope", "Public" } });
}

std::int32_t getLimit(Object* window)
{
    return static_cast<Window1*>(window)->limit;
}
void setLimit(Object* window, std::int32_t, std::int32_t value)
{
    static_cast<Window1*>(window)->limit = value;
}

RefPtr<::Window> GetImplicitWindow_(String* className)
{
    return RuntimeGetImplicitWindow(className);
}

// A control accessor: the control registered under the name, as T.
template <class T> RefPtr<T> controlNamed(Window1* window, std::string_view name)
{
    RefPtr<Window1> protect(window);
    RuntimeStackCheck();
    if (!window)
        RaiseNilObjectException();
    return fetchControl<T>(window, name);
}

// A menu-item accessor: the item bearing the Name anywhere in the window's menu bar, as T.
template <class T> RefPtr<T> menuItemNamed(Window1* window, std::string_view name)
{
    RefPtr<Window1> protect(window);
    RuntimeStackCheck();
    RefPtr<::MenuBar> bar = ::Window::MenuBar::Get(window, 0);
    if (!bar)
        RaiseNilObjectException();
    Ref<String> key = String::create(name);
    RefPtr<::MenuItem> found = callMethod(bar.get(), ::MenuItem::kLookup, key.ptr());
    return checkCast<T>(found.get());
}
} // namespace

void Window1::ctblinit()
{
    RuntimeStackCheck();
    if (ctbl)
        return;
    // Stored before it is filled, so that a lookup during the registration finds it.
    ctbl = RuntimeNewClass(::Window::lookup());
    RuntimeSetClassName(ctbl, "Window1.Window1");
    ctbl->allocate = &allocateInstance<Window1>;
    [[maybe_unused]] std::size_t first = RuntimeNewVtable(ctbl,
        { method<&Layout>(), method<&CreateControls>(), method<&CreateControls0_>(), method<&vorpel_timer>(),
            method<&limitbar>(), method<&timertext>(), method<&vorpel_timer_Action>(), method<&EditMenu>(),
            method<&EditSelectAll>(), method<&EditSeparator2>(), method<&EditClear>(), method<&EditPaste>(),
            method<&EditCopy>(), method<&EditCut>(), method<&EditSeparator1>(), method<&EditUndo>(),
            method<&FileMenu>(), method<&FileQuit>(), method<&Event_MouseDown>(), method<&Event_Open>(),
            method<&Event_KeyDown>() });
    VORPEL_ASSERT(
        first == kFirstOwn && ctbl->methods.size() == kMethodCount, "Window1's operations misplaced");

    struct Operation {
        std::string_view name, parameters, result;
    };
    static constexpr Operation operations[] = {
        { "Layout", "", "" },
        { "CreateControls", "", "" },
        { "_CreateControls0", "", "" },
        { "vorpel_timer", "", "Timer" },
        { "limitbar", "", "ProgressBar" },
        { "timertext", "", "Label" },
        { "vorpel_timer_Action", "Timer", "" },
        { "EditMenu", "", "MenuItem" },
        { "EditSelectAll", "", "MenuItem" },
        { "EditSeparator2", "", "MenuItem" },
        { "EditClear", "", "MenuItem" },
        { "EditPaste", "", "MenuItem" },
        { "EditCopy", "", "MenuItem" },
        { "EditCut", "", "MenuItem" },
        { "EditSeparator1", "", "MenuItem" },
        { "EditUndo", "", "MenuItem" },
        { "FileMenu", "", "MenuItem" },
        { "FileQuit", "", "QuitMenuItem" },
        { "Event_MouseDown", "i4,i4", "b" },
        { "Event_Open", "", "" },
        { "Event_KeyDown", "s", "b" },
    };
    for (const Operation& operation : operations) {
        AttributeTable attributes = operation.name == "_CreateControls0"
            ? RuntimeAllocateAttributeTable({ { "__Scope", "Public" }, { "Hidden", "" } })
            : publicScope();
        RuntimeRegisterOperation(
            ctbl, operation.name, operation.parameters, operation.result, std::move(attributes));
    }

    RuntimeBindEventHandler<&Layout>(ctbl, ::Window::kLayout);
    RuntimeBindEventHandler<&CreateControls>(ctbl, ::Window::kCreateControls);
    RuntimeBindEventHandler<&Event_MouseDown>(ctbl, ::Window::kMouseDown);
    RuntimeBindEventHandler<&Event_Open>(ctbl, ::Window::kOpenEvent);
    RuntimeBindEventHandler<&Event_KeyDown>(ctbl, ::Window::kKeyDownEvent);

    RuntimeRegisterProperty(ctbl, "limit", "i4", &setLimit, &getLimit, publicScope());
    RuntimeSetClassAttribute(ctbl, "__Scope", "Public");
}

ClassTable* Window1::lookup()
{
    return classLookup<Window1>();
}

RefPtr<Window1> instance()
{
    Ref<String> className = String::create("Window1.Window1");
    RefPtr<::Window> window = GetImplicitWindow_(className.ptr());
    if (!window) {
        Ref<Object> created = RuntimeNewObject(Window1::lookup());
        callMethod(created.ptr(), ::Window::kConstructor);
        window = static_cast<::Window*>(created.ptr());
    }
    return checkCast<Window1>(window.get());
}

RefPtr<::Timer> Window1::vorpel_timer(Window1* window)
{
    return controlNamed<::Timer>(window, "vorpel_timer");
}
RefPtr<::ProgressBar> Window1::limitbar(Window1* window)
{
    return controlNamed<::ProgressBar>(window, "limitbar");
}
RefPtr<::Label> Window1::timertext(Window1* window)
{
    return controlNamed<::Label>(window, "timertext");
}

RefPtr<::MenuItem> Window1::EditMenu(Window1* window)
{
    return menuItemNamed<::MenuItem>(window, "EditMenu");
}
RefPtr<::MenuItem> Window1::EditSelectAll(Window1* window)
{
    return menuItemNamed<::MenuItem>(window, "EditSelectAll");
}
RefPtr<::MenuItem> Window1::EditSeparator2(Window1* window)
{
    return menuItemNamed<::MenuItem>(window, "EditSeparator2");
}
RefPtr<::MenuItem> Window1::EditClear(Window1* window)
{
    return menuItemNamed<::MenuItem>(window, "EditClear");
}
RefPtr<::MenuItem> Window1::EditPaste(Window1* window)
{
    return menuItemNamed<::MenuItem>(window, "EditPaste");
}
RefPtr<::MenuItem> Window1::EditCopy(Window1* window)
{
    return menuItemNamed<::MenuItem>(window, "EditCopy");
}
RefPtr<::MenuItem> Window1::EditCut(Window1* window)
{
    return menuItemNamed<::MenuItem>(window, "EditCut");
}
RefPtr<::MenuItem> Window1::EditSeparator1(Window1* window)
{
    return menuItemNamed<::MenuItem>(window, "EditSeparator1");
}
RefPtr<::MenuItem> Window1::EditUndo(Window1* window)
{
    return menuItemNamed<::MenuItem>(window, "EditUndo");
}
RefPtr<::MenuItem> Window1::FileMenu(Window1* window)
{
    return menuItemNamed<::MenuItem>(window, "FileMenu");
}
RefPtr<::QuitMenuItem> Window1::FileQuit(Window1* window)
{
    return menuItemNamed<::QuitMenuItem>(window, "FileQuit");
}

} // namespace Window1
