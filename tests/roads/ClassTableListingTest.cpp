#include "RoadSupport.h"

#include "library/ActionNotificationReceiver.h"
#include "library/ActionSource.h"
#include "library/Label.h"
#include "library/PaneChild.h"
#include "library/ProgressBar.h"
#include "library/QuitMenuItem.h"
#include "library/RectControl.h"

#include <map>
#include <sstream>
#include <string>
#include <variant>

// The class tables of the program's four classes and of the framework classes they derive from or use,
// each as a whole: name, base, kind, method table (inherited, replaced, own), registered operations,
// events and their handlers, properties, fields, interfaces, class attributes, initialiser and
// finaliser, written out line by line as their registrations give them.

namespace {
class EntryNames {
public:
    EntryNames()
    {
        add(method<&Window::Constructor>(), "Window.Constructor");
        add(method<&Window::new_>(), "Window.__New");
        add(method<&Window::AddControl_>(), "Window._AddControl");
        add(method<&Window::ControlByName_>(), "Window._ControlByName");
        add(method<&Window::CallMouseDown_>(), "Window._CallMouseDown");
        add(method<&Window::KeyDown_>(), "Window._KeyDown");
        add(method<&Window::Close>(), "Window.Close");

        add(method<&Timer::addActionNotificationReceiver>(), "Timer.addActionNotificationReceiver");
        add(method<&Timer::removeActionNotificationReceiver>(), "Timer.removeActionNotificationReceiver");
        add(method<&Timer::Reset>(), "Timer.Reset");
        add(method<&Timer::CallAction_>(), "Timer._CallAction");

        add(method<&MenuItem::Constructor>(), "MenuItem.Constructor");
        add(method<&MenuItem::ConstructorCopy>(), "MenuItem.Constructor(MenuItem)");
        add(method<&MenuItem::ConstructorText>(), "MenuItem.Constructor(s,Variant)");
        add(method<&MenuItem::Append>(), "MenuItem.Append");
        add(method<&MenuItem::Child>(), "MenuItem.Child");
        add(method<&MenuItem::Lookup_>(), "MenuItem._Lookup");
        add(method<&QuitMenuItem::Event_Action>(), "QuitMenuItem.Event_Action");

        add(method<&Control::SetWindow_>(), "Control._SetWindow");
        add(method<&RectControl::Constructor>(), "RectControl.Constructor");

        add(method<&App::Constructor>(), "App.Constructor");

        using W = ::Window1::Window1;
        add(method<&W::Layout>(), "Window1.Window1.Layout");
        add(method<&W::CreateControls>(), "Window1.Window1.CreateControls");
        add(method<&W::CreateControls0_>(), "_CreateControls0");
        add(method<&W::vorpel_timer>(), "Window1.Window1.vorpel_timer");
        add(method<&W::limitbar>(), "Window1.Window1.limitbar");
        add(method<&W::timertext>(), "Window1.Window1.timertext");
        add(method<&W::vorpel_timer_Action>(), "vorpel_timer_Action");
        add(method<&W::EditMenu>(), "Window1.Window1.EditMenu");
        add(method<&W::EditSelectAll>(), "Window1.Window1.EditSelectAll");
        add(method<&W::EditSeparator2>(), "Window1.Window1.EditSeparator2");
        add(method<&W::EditClear>(), "Window1.Window1.EditClear");
        add(method<&W::EditPaste>(), "Window1.Window1.EditPaste");
        add(method<&W::EditCopy>(), "Window1.Window1.EditCopy");
        add(method<&W::EditCut>(), "Window1.Window1.EditCut");
        add(method<&W::EditSeparator1>(), "Window1.Window1.EditSeparator1");
        add(method<&W::EditUndo>(), "Window1.Window1.EditUndo");
        add(method<&W::FileMenu>(), "Window1.Window1.FileMenu");
        add(method<&W::FileQuit>(), "Window1.Window1.FileQuit");
        add(method<&W::Event_MouseDown>(), "Event_MouseDown");
        add(method<&W::Event_Open>(), "Event_Open");
        add(method<&W::Event_KeyDown>(), "Event_KeyDown");

        using T = ::Window1::vorpel_timer;
        add(method<&T::SetWindow_>(), "Window1.vorpel_timer._SetWindow");
        add(method<&T::Window>(), "Window1.vorpel_timer.Window");
        add(method<&T::Index_>(), "Window1.vorpel_timer._Index");
        add(method<&T::SetIndex_>(), "Window1.vorpel_timer._SetIndex");
        add(method<&T::Constructor>(), "Window1.vorpel_timer.Constructor");

        using B = ::MainMenuBar::MainMenuBar;
        add(method<&B::Constructor>(), "MainMenuBar.Constructor");
        add(method<&B::Untitled0>(), "Untitled0");
        add(method<&B::Untitled1>(), "Untitled1");

        add(hook<&Timer::initialize>(), "Timer's set-up");
        add(hook<&Timer::finalize>(), "Timer's clean-up");
        add(hook<&MenuItemInitializer>(), "MenuItemInitializer");
        add(hook<&MenuItemFinalizer>(), "MenuItemFinalizer");
        add(hook<&MenuBarInitializer>(), "MenuBarInitializer");
        add(hook<&T::exit_>(), "Window1.vorpel_timer.__Exit");
    }

    std::string operator()(const MethodEntry& entry) const
    {
        if (!entry)
            return "-";
        auto found = m_names.find(entry.fn);
        return found == m_names.end() ? "<unnamed>" : found->second;
    }
    std::string operator()(ClassTable::Hook hook) const
    {
        if (!hook)
            return "none";
        auto found = m_hooks.find(hook);
        return found == m_hooks.end() ? "<unnamed>" : found->second;
    }

private:
    void add(const MethodEntry& entry, std::string name) { m_names.emplace(entry.fn, std::move(name)); }
    void add(ClassTable::Hook entry, std::string name) { m_hooks.emplace(entry, std::move(name)); }

    std::map<MethodEntry::Erased, std::string> m_names;
    std::map<ClassTable::Hook, std::string> m_hooks;
};

std::string attributes(const AttributeTable& table)
{
    std::string text;
    for (const Attribute& attribute : table) {
        text += ' ';
        text += attribute.name->bytes();
        if (!attribute.value->bytes().empty())
            text += "=" + std::string(attribute.value->bytes());
    }
    return text;
}

Log listing(const ClassTable& table)
{
    static const EntryNames names;
    Log lines;
    auto line = [&](std::string text) { lines.push_back(std::move(text)); };
    line(std::string(table.isInterface ? "interface " : "class ") + std::string(table.nameView()));
    line("base " + (table.base ? std::string(table.base->nameView()) : std::string("none")));

    std::size_t inherited = table.base ? table.base->methods.size() : 0;
    for (std::size_t slot = 0; slot < table.methods.size(); ++slot) {
        const char* how = "own";
        if (slot < inherited)
            how = table.methods[slot].fn == table.base->methods[slot].fn ? "inherited" : "replaced";
        line("method " + std::to_string(slot) + " " + how + " " + names(table.methods[slot]));
    }
    for (const OperationInfo& operation : table.operations) {
        line("operation " + std::string(operation.name->bytes()) + " (" + operation.parameterTypes + ") "
            + (operation.resultType.empty() ? "-" : operation.resultType) + attributes(operation.attributes));
    }
    for (const EventInfo& event : table.events)
        line("event " + std::string(event.name) + " " + names(event.handler));
    for (const PropertyInfo& property : table.properties) {
        std::string access;
        if (!std::holds_alternative<std::monostate>(property.setter))
            access += " set";
        if (!std::holds_alternative<std::monostate>(property.getter))
            access += " get";
        line("property " + std::string(property.name->bytes()) + " " + property.typeCode + access
            + attributes(property.attributes));
    }
    for (const FieldInfo& field : table.fields)
        line("field " + std::string(field.name->bytes()) + " " + field.typeCode
            + attributes(field.attributes));
    for (const InterfaceImpl& impl : table.interfaces) {
        std::string text = "interface " + std::string(impl.interface->nameView()) + ":";
        for (const MethodEntry& entry : impl.methods)
            text += " " + names(entry);
        line(text);
    }
    if (!table.attributes.empty())
        line("attributes" + attributes(table.attributes));
    line("initialiser " + names(table.initializer));
    line("finaliser " + names(table.finalizer));
    return lines;
}

std::string joined(const Log& lines)
{
    std::ostringstream text;
    for (const std::string& line : lines)
        text << line << '\n';
    return text.str();
}

struct Case {
    ClassTable* (*lookup)();
    Log expected;
};
} // namespace

TEST(ClassTables, EachIsListedWhole)
{
    initialize();
    const Case cases[] = {
        { &Object::lookup,
            {
                "class Object",
                "base none",
                "initialiser none",
                "finaliser none",
            } },
        { &Application::lookup,
            {
                "class Application",
                "base Object",
                "event Activate -",
                "event CancelClose -",
                "event Close -",
                "event Deactivate -",
                "event EnableMenuItems -",
                "event HandleAppleEvent -",
                "event NewDocument -",
                "event Open -",
                "event OpenDocument -",
                "event UnhandledException -",
                "attributes __Scope=Public",
                "initialiser none",
                "finaliser none",
            } },
        { &App::lookup,
            {
                "class App",
                "base Application",
                "method 0 own App.Constructor",
                "operation Constructor () - __Scope=Public",
                "event Activate -",
                "event CancelClose -",
                "event Close -",
                "event Deactivate -",
                "event EnableMenuItems -",
                "event HandleAppleEvent -",
                "event NewDocument -",
                "event Open -",
                "event OpenDocument -",
                "event UnhandledException -",
                "initialiser none",
                "finaliser none",
            } },
        { &Window::lookup,
            {
                "class Window",
                "base Object",
                "method 0 own Window.Constructor",
                "method 1 own Window.__New",
                "method 2 own Window._AddControl",
                "method 3 own Window._ControlByName",
                "method 4 own Window._CallMouseDown",
                "method 5 own Window._KeyDown",
                "method 6 own Window.Close",
                "operation Constructor () - __Scope=Public",
                "operation __New (ClassTable) Object __Scope=Public Hidden",
                "operation _AddControl (s,Object) - __Scope=Public Hidden",
                "operation _ControlByName (s) Object __Scope=Public Hidden",
                "operation _CallMouseDown (i4,i4) b __Scope=Public Hidden",
                "operation _KeyDown (s) b __Scope=Public Hidden",
                "operation Close () - __Scope=Public",
                "event Open -",
                "event Close -",
                "event Activate -",
                "event Deactivate -",
                "event CreateControls -",
                "event Layout -",
                "event MouseDown -",
                "event KeyDown -",
                "event Paint -",
                "event Resized -",
                "property Placement i4 set get __Scope=Public",
                "property Width i4 set get __Scope=Public",
                "property Height i4 set get __Scope=Public",
                "property MinWidth i4 set get __Scope=Public",
                "property MinHeight i4 set get __Scope=Public",
                "property MaxWidth i4 set get __Scope=Public",
                "property MaxHeight i4 set get __Scope=Public",
                "property Frame i4 set get __Scope=Public",
                "property Composite b set get __Scope=Public",
                "property HasBackColor b set get __Scope=Public",
                "property BackColor c set get __Scope=Public",
                "property Title s set get __Scope=Public",
                "property Visible b set get __Scope=Public",
                "property FullScreen b set get __Scope=Public",
                "property MenuBarVisible b set get __Scope=Public",
                "property CloseButton b set get __Scope=Public",
                "property Resizeable b set get __Scope=Public",
                "property LiveResize b set get __Scope=Public",
                "property MaximizeButton b set get __Scope=Public",
                "property MinimizeButton b set get __Scope=Public",
                "property FullScreenButton b set get __Scope=Public",
                "property MacProcId i4 set get __Scope=Public",
                "attributes __Scope=Public",
                "initialiser none",
                "finaliser none",
            } },
        { &Window1::Window1::lookup,
            {
                "class Window1.Window1",
                "base Window",
                "method 0 inherited Window.Constructor",
                "method 1 inherited Window.__New",
                "method 2 inherited Window._AddControl",
                "method 3 inherited Window._ControlByName",
                "method 4 inherited Window._CallMouseDown",
                "method 5 inherited Window._KeyDown",
                "method 6 inherited Window.Close",
                "method 7 own Window1.Window1.Layout",
                "method 8 own Window1.Window1.CreateControls",
                "method 9 own _CreateControls0",
                "method 10 own Window1.Window1.vorpel_timer",
                "method 11 own Window1.Window1.limitbar",
                "method 12 own Window1.Window1.timertext",
                "method 13 own vorpel_timer_Action",
                "method 14 own Window1.Window1.EditMenu",
                "method 15 own Window1.Window1.EditSelectAll",
                "method 16 own Window1.Window1.EditSeparator2",
                "method 17 own Window1.Window1.EditClear",
                "method 18 own Window1.Window1.EditPaste",
                "method 19 own Window1.Window1.EditCopy",
                "method 20 own Window1.Window1.EditCut",
                "method 21 own Window1.Window1.EditSeparator1",
                "method 22 own Window1.Window1.EditUndo",
                "method 23 own Window1.Window1.FileMenu",
                "method 24 own Window1.Window1.FileQuit",
                "method 25 own Event_MouseDown",
                "method 26 own Event_Open",
                "method 27 own Event_KeyDown",
                "operation Layout () - __Scope=Public",
                "operation CreateControls () - __Scope=Public",
                "operation _CreateControls0 () - __Scope=Public Hidden",
                "operation vorpel_timer () Timer __Scope=Public",
                "operation limitbar () ProgressBar __Scope=Public",
                "operation timertext () Label __Scope=Public",
                "operation vorpel_timer_Action (Timer) - __Scope=Public",
                "operation EditMenu () MenuItem __Scope=Public",
                "operation EditSelectAll () MenuItem __Scope=Public",
                "operation EditSeparator2 () MenuItem __Scope=Public",
                "operation EditClear () MenuItem __Scope=Public",
                "operation EditPaste () MenuItem __Scope=Public",
                "operation EditCopy () MenuItem __Scope=Public",
                "operation EditCut () MenuItem __Scope=Public",
                "operation EditSeparator1 () MenuItem __Scope=Public",
                "operation EditUndo () MenuItem __Scope=Public",
                "operation FileMenu () MenuItem __Scope=Public",
                "operation FileQuit () QuitMenuItem __Scope=Public",
                "operation Event_MouseDown (i4,i4) b __Scope=Public",
                "operation Event_Open () - __Scope=Public",
                "operation Event_KeyDown (s) b __Scope=Public",
                "event Open Event_Open",
                "event Close -",
                "event Activate -",
                "event Deactivate -",
                "event CreateControls Window1.Window1.CreateControls",
                "event Layout Window1.Window1.Layout",
                "event MouseDown Event_MouseDown",
                "event KeyDown Event_KeyDown",
                "event Paint -",
                "event Resized -",
                "property limit i4 set get __Scope=Public",
                "attributes __Scope=Public",
                "initialiser none",
                "finaliser none",
            } },
        { &Timer::lookup,
            {
                "class Timer",
                "base Object",
                "method 0 own Timer.addActionNotificationReceiver",
                "method 1 own Timer.removeActionNotificationReceiver",
                "method 2 own Timer.Reset",
                "method 3 own Timer._CallAction",
                "operation addActionNotificationReceiver (actionNotificationReceiver) - __Scope=Public",
                "operation removeActionNotificationReceiver (actionNotificationReceiver) - __Scope=Public",
                "operation Reset () - __Scope=Public",
                "operation _CallAction () - __Scope=Public Hidden",
                "event Action -",
                "property Mode i4 set get __Scope=Public",
                "property Period i4 set get __Scope=Public",
                "property Enabled b set get __Scope=Public",
                "interface actionSource: Timer.addActionNotificationReceiver "
                "Timer.removeActionNotificationReceiver",
                "initialiser Timer's set-up",
                "finaliser Timer's clean-up",
            } },
        { &actionSource::lookup,
            {
                "interface actionSource",
                "base none",
                "initialiser none",
                "finaliser none",
            } },
        { &PaneChild_::lookup,
            {
                "interface _PaneChild",
                "base none",
                "attributes Hidden",
                "initialiser none",
                "finaliser none",
            } },
        { &actionNotificationReceiver::lookup,
            {
                "interface actionNotificationReceiver",
                "base none",
                "initialiser none",
                "finaliser none",
            } },
        { &Window1::vorpel_timer::lookup,
            {
                "class Window1.vorpel_timer",
                "base Timer",
                "method 0 inherited Timer.addActionNotificationReceiver",
                "method 1 inherited Timer.removeActionNotificationReceiver",
                "method 2 inherited Timer.Reset",
                "method 3 inherited Timer._CallAction",
                "method 4 own Window1.vorpel_timer._SetWindow",
                "method 5 own Window1.vorpel_timer.Window",
                "method 6 own Window1.vorpel_timer._Index",
                "method 7 own Window1.vorpel_timer._SetIndex",
                "method 8 own Window1.vorpel_timer.Constructor",
                "operation _SetWindow (Window) - __Scope=Public Hidden",
                "operation Window () Window __Scope=Public",
                "operation _Index () i4 __Scope=Public Hidden",
                "operation _SetIndex (i4) - __Scope=Public Hidden",
                "operation Constructor () - __Scope=Public",
                "event Action -",
                "field Index i4 __Scope=Public",
                "field ownerWindow o<Window> __Scope=Private",
                "interface actionSource: Timer.addActionNotificationReceiver "
                "Timer.removeActionNotificationReceiver",
                "interface _PaneChild: Window1.vorpel_timer._SetWindow Window1.vorpel_timer.Window "
                "Window1.vorpel_timer._Index Window1.vorpel_timer._SetIndex",
                "attributes __Scope=Private",
                "initialiser none",
                "finaliser Window1.vorpel_timer.__Exit",
            } },
        { &MenuItem::lookup,
            {
                "class MenuItem",
                "base Object",
                "method 0 own MenuItem.Constructor",
                "method 1 own MenuItem.Constructor(MenuItem)",
                "method 2 own MenuItem.Constructor(s,Variant)",
                "method 3 own MenuItem.Append",
                "method 4 own MenuItem.Child",
                "method 5 own MenuItem._Lookup",
                "operation Constructor () - __Scope=Public",
                "operation Constructor (MenuItem) - __Scope=Public",
                "operation Constructor (s,Variant) - __Scope=Public",
                "operation Append (MenuItem) - __Scope=Public",
                "operation Child (s) MenuItem __Scope=Public",
                "operation _Lookup (s) MenuItem __Scope=Public",
                "event Action -",
                "event EnableMenu -",
                "attributes __Scope=Public",
                "initialiser MenuItemInitializer",
                "finaliser MenuItemFinalizer",
            } },
        { &MenuBar::lookup,
            {
                "class MenuBar",
                "base MenuItem",
                "method 0 inherited MenuItem.Constructor",
                "method 1 inherited MenuItem.Constructor(MenuItem)",
                "method 2 inherited MenuItem.Constructor(s,Variant)",
                "method 3 inherited MenuItem.Append",
                "method 4 inherited MenuItem.Child",
                "method 5 inherited MenuItem._Lookup",
                "event Action -",
                "event EnableMenu -",
                "attributes __Scope=Public",
                "initialiser MenuBarInitializer",
                "finaliser none",
            } },
        { &MainMenuBar::MainMenuBar::lookup,
            {
                "class MainMenuBar.MainMenuBar",
                "base MenuBar",
                "method 0 replaced MainMenuBar.Constructor",
                "method 1 inherited MenuItem.Constructor(MenuItem)",
                "method 2 inherited MenuItem.Constructor(s,Variant)",
                "method 3 inherited MenuItem.Append",
                "method 4 inherited MenuItem.Child",
                "method 5 inherited MenuItem._Lookup",
                "method 6 own Untitled0",
                "method 7 own Untitled1",
                "operation Untitled0 () - __Scope=Public",
                "operation Untitled1 () - __Scope=Public",
                "operation Constructor () - __Scope=Public",
                "event Action -",
                "event EnableMenu -",
                "attributes __Scope=Public",
                "initialiser none",
                "finaliser none",
            } },
        { &QuitMenuItem::lookup,
            {
                "class QuitMenuItem",
                "base MenuItem",
                "method 0 inherited MenuItem.Constructor",
                "method 1 inherited MenuItem.Constructor(MenuItem)",
                "method 2 inherited MenuItem.Constructor(s,Variant)",
                "method 3 inherited MenuItem.Append",
                "method 4 inherited MenuItem.Child",
                "method 5 inherited MenuItem._Lookup",
                "method 6 own QuitMenuItem.Event_Action",
                "operation Event_Action () b __Scope=Public",
                "event Action QuitMenuItem.Event_Action",
                "event EnableMenu -",
                "attributes __Scope=Public",
                "initialiser none",
                "finaliser none",
            } },
        { &Control::lookup,
            {
                "class Control",
                "base Object",
                "method 0 own Control._SetWindow",
                "operation _SetWindow (Window) - Hidden",
                "property Name s set get __Scope=Public",
                "property Index i4 set get __Scope=Public",
                "property TabPanelIndex i4 set get __Scope=Public",
                "initialiser none",
                "finaliser none",
            } },
        { &RectControl::lookup,
            {
                "class RectControl",
                "base Control",
                "method 0 inherited Control._SetWindow",
                "method 1 own RectControl.Constructor",
                "operation Constructor () - __Scope=Public",
                "property Left i4 set get __Scope=Public",
                "property Top i4 set get __Scope=Public",
                "property Width i4 set get __Scope=Public",
                "property Height i4 set get __Scope=Public",
                "property LockLeft b set get __Scope=Public",
                "property LockTop b set get __Scope=Public",
                "property LockRight b set get __Scope=Public",
                "property LockBottom b set get __Scope=Public",
                "property Visible b set get __Scope=Public",
                "property Enabled b set get __Scope=Public",
                "property HelpTag s set get __Scope=Public",
                "property AutoDeactivate b set get __Scope=Public",
                "property TabIndex i4 set get __Scope=Public",
                "property InitialParent s set get __Scope=Public",
                "initialiser none",
                "finaliser none",
            } },
        { &Label::lookup,
            {
                "class Label",
                "base RectControl",
                "method 0 inherited Control._SetWindow",
                "method 1 inherited RectControl.Constructor",
                "property Text s set get __Scope=Public",
                "property TextAlign i4 set get __Scope=Public",
                "property TextColor c set get __Scope=Public",
                "property MultiLine b set get __Scope=Public",
                "property Selectable b set get __Scope=Public",
                "property Transparent b set get __Scope=Public",
                "property TextFont s set get __Scope=Public",
                "property Bold b set get __Scope=Public",
                "property Italic b set get __Scope=Public",
                "property Underline b set get __Scope=Public",
                "property DataSource s set get __Scope=Public",
                "property DataField s set get __Scope=Public",
                "property TextSize f4 set get __Scope=Public",
                "property TextUnit FontUnits set get __Scope=Public",
                "initialiser none",
                "finaliser none",
            } },
        { &ProgressBar::lookup,
            {
                "class ProgressBar",
                "base RectControl",
                "method 0 inherited Control._SetWindow",
                "method 1 inherited RectControl.Constructor",
                "property Value i4 set get __Scope=Public",
                "property Maximum i4 set get __Scope=Public",
                "initialiser none",
                "finaliser none",
            } },
        { &Delegate::lookup,
            {
                "class Delegate",
                "base Object",
                "initialiser none",
                "finaliser none",
            } },
        { &RuntimeException::lookup,
            {
                "class RuntimeException",
                "base Object",
                "property Message s __Scope=Public",
                "initialiser none",
                "finaliser none",
            } },
        { &NilObjectException::lookup,
            {
                "class NilObjectException",
                "base RuntimeException",
                "initialiser none",
                "finaliser none",
            } },
        { &ThreadAccessingUIException::lookup,
            {
                "class ThreadAccessingUIException",
                "base RuntimeException",
                "initialiser none",
                "finaliser none",
            } },
    };
    for (const Case& each : cases) {
        const ClassTable* table = each.lookup();
        SCOPED_TRACE(std::string(table->nameView()));
        EXPECT_EQ(joined(listing(*table)), joined(each.expected));
    }
    finalize();
}
