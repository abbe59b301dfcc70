#include "SystemSupport.h"

#include "app/App.h"
#include "library/MassPropertySetter.h"
#include "library/MenuBar.h"
#include "mainwindow/PropertySets.h"
#include "mainwindow/vorpel_timer.h"
#include "menus/MainMenuBar.h"
#include "runtime/Delegate.h"
#include "support/PropertySetBuilder.h"

#include <cstdint>
#include <iterator>
#include <ostream>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace {
using MainWindow = StartedProgram;

int probeTicks = 0;
void probeTick(Window1::Window1*, ::Timer*)
{
    ++probeTicks;
}

// A window class whose tick handler is another routine, to show that the binding takes the one in the
// window's own method table.
ClassTable* probeWindowClass()
{
    static ClassTable* table = [] {
        ClassTable* t = RuntimeNewClass(Window1::Window1::lookup());
        RuntimeSetClassName(t, "test.ProbeWindow");
        RuntimeReplaceMethod<&probeTick>(t, Window1::Window1::kVorpelTimerAction);
        return t;
    }();
    return table;
}

const MenuItem* findItem(const MenuItem& below, std::string_view name)
{
    for (const Ref<MenuItem>& child : below.children()) {
        if (child->name().bytes() == name)
            return child.ptr();
        if (const MenuItem* found = findItem(child.get(), name))
            return found;
    }
    return nullptr;
}
} // namespace

TEST_F(MainWindow, ControlsAreRegisteredInOrderWithTheirDesignValues)
{
    struct Expected {
        const char* name;
        const ClassTable* table;
    };
    const Expected expected[] = {
        { "vorpel_timer", Window1::vorpel_timer::lookup() },
        { "limitbar", ::ProgressBar::lookup() },
        { "timertext", ::Label::lookup() },
    };
    ASSERT_EQ(window->controls().size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(window->controls()[i].name->bytes(), expected[i].name);
        EXPECT_EQ(window->controls()[i].control->classTable(), expected[i].table);
        EXPECT_EQ(window->controls()[i].control->refCount(), 1u) << "the construction kept a reference";
    }

    Ref<::Label> text = label();
    EXPECT_EQ(text->textSize(), 256.0f);
    EXPECT_EQ(text->textUnit(), 0);
    EXPECT_EQ(text->text().bytes(), "01:00");
    EXPECT_EQ(text->name->bytes() == std::string_view("timertext"), true);
    EXPECT_EQ(text->index, INT32_MIN);
    EXPECT_EQ(text->designRect(), (RectControl::Rect { 20, 14, 728, 388 }));
    EXPECT_TRUE(text->lockLeft() && text->lockTop() && text->lockRight() && text->lockBottom());
    EXPECT_EQ(text->textAlign(), 1);
    EXPECT_TRUE(text->bold());
    EXPECT_FALSE(text->multiLine());
    EXPECT_EQ(text->textFont().bytes(), "System");

    Ref<::ProgressBar> progress = bar();
    EXPECT_EQ(progress->name->bytes() == std::string_view("limitbar"), true);
    EXPECT_EQ(progress->index, INT32_MIN);
    EXPECT_EQ(progress->designRect(), (RectControl::Rect { 20, 414, 736, 22 }));
    EXPECT_TRUE(
        progress->lockLeft() && !progress->lockTop() && progress->lockRight() && progress->lockBottom());
    EXPECT_EQ(progress->maximum(), 60);
    EXPECT_EQ(progress->value(), 0);

    Ref<::Timer> ticker = timer();
    EXPECT_EQ(ticker->mode(), ::Timer::ModeMultiple);
    EXPECT_EQ(ticker->period(), 1000);
    EXPECT_EQ(platform.deadlineOf(ticker.get()), platform.now() + 1s);
}

TEST_F(MainWindow, WindowHasItsDesignValuesAndTheSharedMenuBar)
{
    EXPECT_EQ(window->title().bytes(), "ボルペル");
    EXPECT_EQ(window->width(), 776);
    EXPECT_EQ(window->height(), 456);
    EXPECT_TRUE(window->fullScreen());
    EXPECT_TRUE(window->menuBarVisible());
    EXPECT_TRUE(
        window->resizeable() && window->liveResize() && window->closeButton() && window->minimizeButton());
    EXPECT_FALSE(window->maximizeButton() || window->fullScreenButton() || window->hasBackColor());
    EXPECT_EQ(window->backColor(), (Color { 255, 255, 255, 0 }));
    ASSERT_EQ(platform.shownWindows().size(), 1u);
    EXPECT_EQ(platform.shownWindows()[0], window.get());

    ASSERT_TRUE(MainMenuBar::implicitInstance_);
    EXPECT_EQ(window->menuBar(), MainMenuBar::implicitInstance_.get());
    EXPECT_EQ(framework().application()->menuBar.get(), MainMenuBar::implicitInstance_.get());
    EXPECT_TRUE(framework().application()->isA(App::lookup()));
}

namespace {
// Puts an observing setter in one property of a class table and puts the original back when it goes.
template <class Setter> class ObservedProperty {
public:
    ObservedProperty(ClassTable* table, std::string_view name, Setter observer)
    {
        for (PropertyInfo& property : table->properties) {
            if (property.name->bytes() == name)
                m_property = &property;
        }
        original() = std::get<Setter>(m_property->setter);
        m_property->setter = observer;
    }
    ~ObservedProperty() { m_property->setter = original(); }
    ObservedProperty(const ObservedProperty&) = delete;
    ObservedProperty& operator=(const ObservedProperty&) = delete;

    static Setter& original()
    {
        static Setter setter = nullptr;
        return setter;
    }

private:
    PropertyInfo* m_property = nullptr;
};

// What the window and the label held when their sets began to be applied.
bool menuBarBeforeWindowSet = false;
float sizeBeforeLabelSet = -1;
void placementObserved(Object* window, std::int32_t index, std::int32_t value)
{
    menuBarBeforeWindowSet = static_cast<::Window*>(window)->menuBar() != nullptr;
    ObservedProperty<SetI4>::original()(window, index, value);
}
void labelTextObserved(Object* label, std::int32_t index, String* text)
{
    sizeBeforeLabelSet = static_cast<::Label*>(label)->textSize();
    ObservedProperty<SetStringValue>::original()(label, index, text);
}
} // namespace

// The menu bar is on before the window's set is applied, and the label's size before the label's set.
TEST(MainWindowConstruction, SetsAreAppliedAfterWhatMustPrecedeThem)
{
    HeadlessPlatform platform;
    RuntimeSetPlatform(&platform);
    initialize();
    const std::size_t objects = RuntimeLiveObjectCount();
    {
        ObservedProperty<SetI4> placement(::Window::lookup(), "Placement", &placementObserved);
        ObservedProperty<SetStringValue> text(::Label::lookup(), "Text", &labelTextObserved);
        menuBarBeforeWindowSet = false;
        sizeBeforeLabelSet = -1;
        EarlyStartup_();
        RunFrameworkInitialization(&LateStartup_);
    }
    EXPECT_TRUE(menuBarBeforeWindowSet);
    EXPECT_EQ(sizeBeforeLabelSet, 256.0f);
    finalize();
    RuntimeSetPlatform(nullptr);
    EXPECT_EQ(RuntimeLiveObjectCount(), objects);
}

namespace {
std::vector<std::string> lookedUp;
RefPtr<Object> recordedLookup(::Window* window, String* name)
{
    lookedUp.emplace_back(name->bytes());
    return ::Window::ControlByName_(window, name);
}
RefPtr<::Timer> recordedTimerAccessor(Window1::Window1* window)
{
    lookedUp.emplace_back("through the timer accessor");
    return Window1::Window1::vorpel_timer(window);
}
} // namespace

// Construction keeps no control: it looks each one up by name again before every use, itself rather
// than through the window's accessors.
TEST(MainWindowConstruction, LooksEachControlUpByNameBeforeEveryUse)
{
    HeadlessPlatform platform;
    RuntimeSetPlatform(&platform);
    initialize();
    lookedUp.clear();
    {
        ReplacedEntry lookup(
            Window1::Window1::lookup(), ::Window::kControlByName.index, method<&recordedLookup>());
        ReplacedEntry accessor(Window1::Window1::lookup(), Window1::Window1::kVorpelTimer.index,
            method<&recordedTimerAccessor>());
        EarlyStartup_();
        RunFrameworkInitialization(&LateStartup_);
    }
    EXPECT_EQ(lookedUp,
        (std::vector<std::string> {
            "vorpel_timer", "vorpel_timer", "limitbar", "timertext", "timertext", "timertext" }));
    finalize();
    RuntimeSetPlatform(nullptr);
}

TEST_F(MainWindow, TickBindingHoldsTheWindowWeakly)
{
    Ref<::Timer> ticker = timer();
    Delegate* delegate = RuntimeBoundDelegate(ticker.get(), ::Timer::kAction.index);
    ASSERT_NE(delegate, nullptr);
    EXPECT_TRUE(delegate->weak);
    EXPECT_EQ(delegate->strongTarget.get(), nullptr);
    EXPECT_EQ(delegate->target(), window.get());
    EXPECT_EQ(delegate->signature->bytes(), "( Timer )");
    EXPECT_EQ(delegate->refCount(), 1u) << "held by the binding alone";

    // Holders: this test, the framework's window list and, once linked, the timer.
    auto* own = static_cast<Window1::vorpel_timer*>(ticker.ptr());
    std::uint32_t holders = 2 + (own->ownerWindow.get() == window.get() ? 1 : 0);
    EXPECT_EQ(window->refCount(), holders);

    callMethod(ticker.ptr(), ::Timer::kCallAction);
    EXPECT_EQ(window->limit, 59) << "one firing, one tick";
}

TEST_F(MainWindow, BindingTakesTheTickHandlerFromTheWindowsOwnTable)
{
    probeTicks = 0;
    Ref<Object> created = RuntimeNewObject(probeWindowClass());
    callMethod(created.ptr(), ::Window::kConstructor);
    auto* probe = static_cast<Window1::Window1*>(created.ptr());
    Ref<::Timer> ticker = *Window1::Window1::vorpel_timer(probe);
    callMethod(ticker.ptr(), ::Timer::kCallAction);
    EXPECT_EQ(probeTicks, 1);
    EXPECT_EQ(probe->limit, 60) << "Window1's own handler did not run";
    ::Window::Close(probe);
}

TEST_F(MainWindow, ControlAccessorsFindTheRegisteredControlsEveryTime)
{
    Object* registered[3] = {};
    for (std::size_t i = 0; i < 3; ++i)
        registered[i] = window->controls()[i].control.ptr();

    EXPECT_EQ(Window1::Window1::vorpel_timer(window.get()).get(), registered[0]);
    EXPECT_EQ(Window1::Window1::limitbar(window.get()).get(), registered[1]);
    EXPECT_EQ(Window1::Window1::timertext(window.get()).get(), registered[2]);
    EXPECT_EQ(Window1::Window1::timertext(window.get()).get(), registered[2]) << "a second call";
    for (Object* control : registered)
        EXPECT_EQ(control->refCount(), 1u) << "a released result leaves the owner's count";

    EXPECT_EQ(raisedBy([] { Window1::Window1::timertext(nullptr); }), "NilObjectException");
    EXPECT_EQ(raisedBy([] { Window1::Window1::limitbar(nullptr); }), "NilObjectException");
    EXPECT_EQ(raisedBy([] { Window1::Window1::vorpel_timer(nullptr); }), "NilObjectException");
}

TEST_F(MainWindow, MenuItemAccessorsFindEachItemOfTheMenuBar)
{
    struct Accessor {
        Slot<RefPtr<MenuItem>()> slot;
        const char* name;
    };
    const Accessor accessors[] = {
        { Window1::Window1::kEditMenu, "EditMenu" },
        { Window1::Window1::kEditSelectAll, "EditSelectAll" },
        { Window1::Window1::kEditSeparator2, "EditSeparator2" },
        { Window1::Window1::kEditClear, "EditClear" },
        { Window1::Window1::kEditPaste, "EditPaste" },
        { Window1::Window1::kEditCopy, "EditCopy" },
        { Window1::Window1::kEditCut, "EditCut" },
        { Window1::Window1::kEditSeparator1, "EditSeparator1" },
        { Window1::Window1::kEditUndo, "EditUndo" },
        { Window1::Window1::kFileMenu, "FileMenu" },
    };
    const MenuItem& tree = *MainMenuBar::implicitInstance_;
    for (const Accessor& accessor : accessors) {
        SCOPED_TRACE(accessor.name);
        RefPtr<MenuItem> item = callMethod(window.get(), accessor.slot);
        ASSERT_TRUE(item);
        EXPECT_EQ(item.get(), findItem(tree, accessor.name));
    }
    RefPtr<QuitMenuItem> quit = callMethod(window.get(), Window1::Window1::kFileQuit);
    ASSERT_TRUE(quit);
    EXPECT_EQ(quit.get(), findItem(tree, "FileQuit"));

    ::Window::MenuBar::Set(window.get(), 0, nullptr);
    EXPECT_EQ(raisedBy([&] { Window1::Window1::EditUndo(window.get()); }), "NilObjectException");
    EXPECT_EQ(raisedBy([&] { Window1::Window1::FileQuit(window.get()); }), "NilObjectException");
    ::Window::MenuBar::Set(window.get(), 0, MainMenuBar::implicitInstance_.get());
}

TEST_F(MainWindow, ImplicitWindowIsTheOpenOneWhenThereIsOne)
{
    std::size_t open = framework().windows().size();
    EXPECT_EQ(Window1::instance().get(), window.get());
    EXPECT_EQ(framework().windows().size(), open) << "nothing new was constructed";
    EXPECT_EQ(window->limit, 60);
}

TEST(MainWindowClass, RegistersTheOperationsAndBindsTheFiveEvents)
{
    ClassTable* table = Window1::Window1::lookup();
    Window1::Window1::ctblinit();
    EXPECT_EQ(Window1::Window1::lookup(), table) << "registered once";
    EXPECT_EQ(table->nameView(), "Window1.Window1");
    EXPECT_EQ(table->base, ::Window::lookup());
    ASSERT_EQ(table->methods.size(), Window1::Window1::kMethodCount);
    const ClassTable* base = ::Window::lookup();
    for (std::size_t slot = 0; slot < ::Window::kMethodCount; ++slot)
        EXPECT_EQ(table->methods[slot].fn, base->methods[slot].fn) << "Window's operation " << slot;

    std::vector<std::string> names;
    for (const OperationInfo& operation : table->operations) {
        names.emplace_back(operation.name->bytes());
        bool hidden = false;
        for (const Attribute& attribute : operation.attributes)
            hidden = hidden || attribute.name->bytes() == "Hidden";
        EXPECT_EQ(hidden, names.back() == "_CreateControls0") << names.back();
    }
    EXPECT_EQ(names,
        (std::vector<std::string> { "Layout", "CreateControls", "_CreateControls0", "vorpel_timer",
            "limitbar", "timertext", "vorpel_timer_Action", "EditMenu", "EditSelectAll", "EditSeparator2",
            "EditClear", "EditPaste", "EditCopy", "EditCut", "EditSeparator1", "EditUndo", "FileMenu",
            "FileQuit", "Event_MouseDown", "Event_Open", "Event_KeyDown" }));

    std::vector<std::string> bound;
    for (const EventInfo& event : table->events) {
        if (event.handler)
            bound.emplace_back(event.name);
    }
    EXPECT_EQ(
        bound, (std::vector<std::string> { "Open", "CreateControls", "Layout", "MouseDown", "KeyDown" }));

    const PropertyInfo* limit = table->findProperty("limit");
    ASSERT_NE(limit, nullptr);
    EXPECT_EQ(limit->typeCode, "i4");
}

TEST(MainWindowClass, NewWindowHoldsZeroSecondsUntilItOpens)
{
    Ref<Object> created = RuntimeNewObject(Window1::Window1::lookup());
    EXPECT_EQ(static_cast<Window1::Window1*>(created.ptr())->limit, 0);
    EXPECT_TRUE(static_cast<Window1::Window1*>(created.ptr())->controls().empty());
}

// The compile-time encoder against the test's own writer, on the values a text reader would break on.
namespace {
using namespace designset;
inline constexpr std::array kAwkward {
    i4("Index", INT32_MIN),
    i4("Left", 32),
    c("BackColor", 255, 255, 255),
    s("HelpTag", u8""),
    s("Title", u8"ボルペル"),
    b("Visible", true),
    b("Bold", false),
};
inline constexpr auto kAwkwardBytes = encode<kAwkward>();
} // namespace

TEST(DesignSets, EncodeEachTypeByteForByte)
{
    std::string expected = propset::build({
        { "Index", INT32_MIN },
        { "Left", 32 },
        { "BackColor", Color { 255, 255, 255, 0 } },
        { "HelpTag", std::string() },
        { "Title", std::string("ボルペル") },
        { "Visible", true },
        { "Bold", false },
    });
    EXPECT_EQ(std::string(view(kAwkwardBytes)), expected);

    Ref<String> window = Window1::propertysets::asString(Window1::propertysets::kWindow);
    EXPECT_EQ(window->length(), 297u);
    EXPECT_EQ(window->bytes().substr(137, 22),
        std::string_view("Title \x00\x00\x00\x0c"
                         "ボルペル",
            22));
    EXPECT_EQ(window->bytes().substr(283), std::string_view("MacProcID \0\0\0\0", 14));
}

// Each set read back by the framework's reader into an object that records what it is given, against
// the sets' tables: key and offset of every entry, the property it reaches and the value it carries.
namespace {
using Value = std::variant<std::int32_t, bool, Color, std::string>;
enum class Type { I4, Boolean, Colour, Text };

// Every property the four sets reach, under its declared name.
struct Declared {
    std::string_view name;
    Type type;
};
constexpr Declared kDeclared[] = {
    { "Placement", Type::I4 },
    { "Width", Type::I4 },
    { "Height", Type::I4 },
    { "MinWidth", Type::I4 },
    { "MinHeight", Type::I4 },
    { "MaxWidth", Type::I4 },
    { "MaxHeight", Type::I4 },
    { "Frame", Type::I4 },
    { "Composite", Type::Boolean },
    { "HasBackColor", Type::Boolean },
    { "BackColor", Type::Colour },
    { "Title", Type::Text },
    { "Visible", Type::Boolean },
    { "FullScreen", Type::Boolean },
    { "MenuBarVisible", Type::Boolean },
    { "CloseButton", Type::Boolean },
    { "Resizeable", Type::Boolean },
    { "LiveResize", Type::Boolean },
    { "MaximizeButton", Type::Boolean },
    { "MinimizeButton", Type::Boolean },
    { "FullScreenButton", Type::Boolean },
    { "MacProcId", Type::I4 },
    { "Mode", Type::I4 },
    { "Period", Type::I4 },
    { "Name", Type::Text },
    { "Index", Type::I4 },
    { "Left", Type::I4 },
    { "Top", Type::I4 },
    { "LockLeft", Type::Boolean },
    { "LockTop", Type::Boolean },
    { "LockRight", Type::Boolean },
    { "LockBottom", Type::Boolean },
    { "TabPanelIndex", Type::I4 },
    { "HelpTag", Type::Text },
    { "AutoDeactivate", Type::Boolean },
    { "Enabled", Type::Boolean },
    { "Value", Type::I4 },
    { "Maximum", Type::I4 },
    { "InitialParent", Type::Text },
    { "TabIndex", Type::I4 },
    { "Text", Type::Text },
    { "TextAlign", Type::I4 },
    { "TextColor", Type::Colour },
    { "MultiLine", Type::Boolean },
    { "Selectable", Type::Boolean },
    { "Transparent", Type::Boolean },
    { "TextFont", Type::Text },
    { "Bold", Type::Boolean },
    { "Italic", Type::Boolean },
    { "Underline", Type::Boolean },
    { "DataSource", Type::Text },
    { "DataField", Type::Text },
};

struct Applied {
    std::string property;
    Value value;
    bool operator==(const Applied&) const = default;
};
// Failures show the property and its value, not the object's bytes.
void PrintTo(const Applied& entry, std::ostream* out)
{
    *out << entry.property << " = ";
    if (auto* number = std::get_if<std::int32_t>(&entry.value))
        *out << *number;
    else if (auto* flag = std::get_if<bool>(&entry.value))
        *out << (*flag ? "true" : "false");
    else if (auto* colour = std::get_if<Color>(&entry.value))
        *out << "rgb(" << int(colour->red) << ", " << int(colour->green) << ", " << int(colour->blue) << ")";
    else
        *out << '"' << std::get<std::string>(entry.value) << '"';
}

std::vector<Applied>& applied()
{
    static std::vector<Applied> entries;
    return entries;
}

template <std::size_t I> void recordI4(Object*, std::int32_t, std::int32_t value)
{
    applied().push_back({ std::string(kDeclared[I].name), value });
}
template <std::size_t I> void recordBoolean(Object*, std::int32_t, bool value)
{
    applied().push_back({ std::string(kDeclared[I].name), value });
}
template <std::size_t I> void recordColour(Object*, std::int32_t, Color value)
{
    applied().push_back({ std::string(kDeclared[I].name), value });
}
template <std::size_t I> void recordText(Object*, std::int32_t, String* value)
{
    applied().push_back({ std::string(kDeclared[I].name), std::string(value->bytes()) });
}

template <std::size_t I> void registerRecorded(ClassTable* table)
{
    constexpr Type type = kDeclared[I].type;
    if constexpr (type == Type::I4)
        RuntimeRegisterProperty(table, kDeclared[I].name, "i4", SetI4(&recordI4<I>), {}, {});
    else if constexpr (type == Type::Boolean)
        RuntimeRegisterProperty(table, kDeclared[I].name, "b", SetBoolean(&recordBoolean<I>), {}, {});
    else if constexpr (type == Type::Colour)
        RuntimeRegisterProperty(table, kDeclared[I].name, "c", SetColor(&recordColour<I>), {}, {});
    else
        RuntimeRegisterProperty(table, kDeclared[I].name, "s", SetStringValue(&recordText<I>), {}, {});
}

template <std::size_t... I> void registerAll(ClassTable* table, std::index_sequence<I...>)
{
    (registerRecorded<I>(table), ...);
}

class SetRecorder : public Object {
public:
    static ClassTable* lookup()
    {
        static ClassTable* table = [] {
            ClassTable* t = RuntimeNewClass(Object::lookup());
            RuntimeSetClassName(t, "test.SetRecorder");
            t->allocate = &allocateInstance<SetRecorder>;
            registerAll(t, std::make_index_sequence<std::size(kDeclared)>());
            return t;
        }();
        return table;
    }
};

struct Row {
    std::size_t offset;
    std::string_view key;
    std::string_view property;
    Value value;
    std::size_t length;
};

std::string_view typeCodeOf(const Value& value)
{
    constexpr std::string_view codes[] = { "i4", "b", "c", "s" };
    return codes[value.index()];
}

const std::string kNone;
const std::vector<Row> kWindowRows = {
    { 0, "Placement", "Placement", 0, 14 },
    { 14, "Width", "Width", 776, 10 },
    { 24, "Height", "Height", 456, 11 },
    { 35, "MinWidth", "MinWidth", 64, 13 },
    { 48, "MinHeight", "MinHeight", 64, 14 },
    { 62, "MaxWidth", "MaxWidth", 32000, 13 },
    { 75, "MaxHeight", "MaxHeight", 32000, 14 },
    { 89, "Frame", "Frame", 0, 10 },
    { 99, "Composite", "Composite", false, 11 },
    { 110, "HasBackColor", "HasBackColor", false, 14 },
    { 124, "BackColor", "BackColor", Color { 255, 255, 255, 0 }, 13 },
    { 137, "Title", "Title", std::string("\xE3\x83\x9C\xE3\x83\xAB\xE3\x83\x9A\xE3\x83\xAB"), 22 },
    { 159, "Visible", "Visible", true, 9 },
    { 168, "FullScreen", "FullScreen", true, 12 },
    { 180, "MenuBarVisible", "MenuBarVisible", true, 16 },
    { 196, "CloseButton", "CloseButton", true, 13 },
    { 209, "Resizeable", "Resizeable", true, 12 },
    { 221, "LiveResize", "LiveResize", true, 12 },
    { 233, "MaximizeButton", "MaximizeButton", false, 16 },
    { 249, "MinimizeButton", "MinimizeButton", true, 16 },
    { 265, "FullScreenButton", "FullScreenButton", false, 18 },
    { 283, "MacProcID", "MacProcId", 0, 14 },
};
const std::vector<Row> kTimerRows = {
    { 0, "Mode", "Mode", 2, 9 },
    { 9, "Period", "Period", 1000, 11 },
};
const std::vector<Row> kProgressBarRows = {
    { 0, "Name", "Name", std::string("limitbar"), 17 },
    { 17, "Index", "Index", INT32_MIN, 10 },
    { 27, "Left", "Left", 20, 9 },
    { 36, "Top", "Top", 414, 8 },
    { 44, "Width", "Width", 736, 10 },
    { 54, "Height", "Height", 22, 11 },
    { 65, "LockLeft", "LockLeft", true, 10 },
    { 75, "LockTop", "LockTop", false, 9 },
    { 84, "LockRight", "LockRight", true, 11 },
    { 95, "LockBottom", "LockBottom", true, 12 },
    { 107, "TabPanelIndex", "TabPanelIndex", 0, 18 },
    { 125, "Visible", "Visible", true, 9 },
    { 134, "HelpTag", "HelpTag", kNone, 12 },
    { 146, "AutoDeactivate", "AutoDeactivate", true, 16 },
    { 162, "Enabled", "Enabled", true, 9 },
    { 171, "Value", "Value", 0, 10 },
    { 181, "Maximum", "Maximum", 60, 12 },
    { 193, "InitialParent", "InitialParent", kNone, 18 },
};
const std::vector<Row> kLabelRows = {
    { 0, "Name", "Name", std::string("timertext"), 18 },
    { 18, "Index", "Index", INT32_MIN, 10 },
    { 28, "Left", "Left", 20, 9 },
    { 37, "Top", "Top", 14, 8 },
    { 45, "Width", "Width", 728, 10 },
    { 55, "Height", "Height", 388, 11 },
    { 66, "LockLeft", "LockLeft", true, 10 },
    { 76, "LockTop", "LockTop", true, 9 },
    { 85, "LockRight", "LockRight", true, 11 },
    { 96, "LockBottom", "LockBottom", true, 12 },
    { 108, "TabPanelIndex", "TabPanelIndex", 0, 18 },
    { 126, "TabIndex", "TabIndex", 0, 13 },
    { 139, "Text", "Text", std::string("01:00"), 14 },
    { 153, "TextAlign", "TextAlign", 1, 14 },
    { 167, "TextColor", "TextColor", Color { 0, 0, 0, 0 }, 13 },
    { 180, "Multiline", "MultiLine", false, 11 },
    { 191, "Enabled", "Enabled", true, 9 },
    { 200, "Visible", "Visible", true, 9 },
    { 209, "Selectable", "Selectable", false, 12 },
    { 221, "Transparent", "Transparent", false, 13 },
    { 234, "HelpTag", "HelpTag", kNone, 12 },
    { 246, "AutoDeactivate", "AutoDeactivate", true, 16 },
    { 262, "TextFont", "TextFont", std::string("System"), 19 },
    { 281, "Bold", "Bold", true, 6 },
    { 287, "Italic", "Italic", false, 8 },
    { 295, "Underline", "Underline", false, 11 },
    { 306, "DataSource", "DataSource", kNone, 15 },
    { 321, "DataField", "DataField", kNone, 14 },
    { 335, "InitialParent", "InitialParent", kNone, 18 },
};
} // namespace

TEST(DesignSets, ReadBackGivesExactlyTheEntriesOfItsTable)
{
    using namespace Window1::propertysets;
    struct Set {
        const char* what;
        Ref<String> bytes;
        std::size_t size;
        const std::vector<Row>& rows;
        const ClassTable* appliedTo;
    };
    const Set sets[] = {
        { "window", asString(kWindow), 297, kWindowRows, Window1::Window1::lookup() },
        { "timer", asString(kTimer), 20, kTimerRows, Window1::vorpel_timer::lookup() },
        { "progress bar", asString(kProgressBar), 211, kProgressBarRows, ::ProgressBar::lookup() },
        { "label", asString(kLabel), 353, kLabelRows, ::Label::lookup() },
    };
    for (const Set& set : sets) {
        SCOPED_TRACE(set.what);
        std::string_view bytes = set.bytes->bytes();
        ASSERT_EQ(bytes.size(), set.size);
        EXPECT_EQ(set.bytes->encoding(), TextEncoding::UTF8);

        std::size_t next = 0;
        std::vector<Applied> expected;
        for (const Row& row : set.rows) {
            SCOPED_TRACE(std::string(row.key));
            EXPECT_EQ(row.offset, next) << "entries follow each other";
            EXPECT_EQ(bytes.substr(row.offset, row.key.size() + 1), std::string(row.key) + " ");
            next = row.offset + row.length;
            expected.push_back({ std::string(row.property), row.value });

            // The key reaches the declared property of the class the set is applied to, or of a base.
            const PropertyInfo* property = set.appliedTo->findProperty(row.key);
            ASSERT_NE(property, nullptr);
            EXPECT_EQ(property->name->bytes(), row.property);
            EXPECT_EQ(property->typeCode, typeCodeOf(row.value));
        }
        EXPECT_EQ(next, bytes.size()) << "the last entry ends the set";

        applied().clear();
        Ref<Object> recorder = RuntimeNewObject(SetRecorder::lookup());
        RuntimeMassPropertySetter(recorder.ptr(), set.bytes.ptr());
        EXPECT_EQ(applied(), expected);
    }
}
