#include "SystemSupport.h"

#include "../support/PropertySetBuilder.h"
#include "app/App.h"
#include "library/MenuBar.h"
#include "mainwindow/PropertySets.h"
#include "mainwindow/vorpel_timer.h"
#include "menus/MainMenuBar.h"
#include "runtime/Delegate.h"

#include <cstdint>
#include <string>
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
    for (const Ref<MenuItem>& child : below.children) {
        if (child->name->bytes() == name)
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
    ASSERT_EQ(window->controls.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(window->controls[i].name->bytes(), expected[i].name);
        EXPECT_EQ(window->controls[i].control->classTable(), expected[i].table);
        EXPECT_EQ(window->controls[i].control->refCount(), 1u) << "the construction kept a reference";
    }

    Ref<::Label> text = label();
    EXPECT_EQ(text->textSize, 256.0f);
    EXPECT_EQ(text->textUnit, 0);
    EXPECT_EQ(text->text->bytes(), "01:00");
    EXPECT_EQ(text->name->bytes() == std::string_view("timertext"), true);
    EXPECT_EQ(text->index, INT32_MIN);
    EXPECT_EQ(text->designRect(), (RectControl::Rect { 20, 14, 728, 388 }));
    EXPECT_TRUE(text->lockLeft && text->lockTop && text->lockRight && text->lockBottom);
    EXPECT_EQ(text->textAlign, 1);
    EXPECT_TRUE(text->bold);
    EXPECT_FALSE(text->multiLine);
    EXPECT_EQ(text->textFont->bytes(), "System");

    Ref<::ProgressBar> progress = bar();
    EXPECT_EQ(progress->name->bytes() == std::string_view("limitbar"), true);
    EXPECT_EQ(progress->index, INT32_MIN);
    EXPECT_EQ(progress->designRect(), (RectControl::Rect { 20, 414, 736, 22 }));
    EXPECT_TRUE(progress->lockLeft && !progress->lockTop && progress->lockRight && progress->lockBottom);
    EXPECT_EQ(progress->maximum, 60);
    EXPECT_EQ(progress->value, 0);

    Ref<::Timer> ticker = timer();
    EXPECT_EQ(ticker->mode, ::Timer::ModeMultiple);
    EXPECT_EQ(ticker->period, 1000);
    EXPECT_EQ(platform.deadlineOf(ticker.get()), platform.now() + 1s);
}

TEST_F(MainWindow, WindowHasItsDesignValuesAndTheSharedMenuBar)
{
    EXPECT_EQ(window->title->bytes(), "ボルペル");
    EXPECT_EQ(window->width, 776);
    EXPECT_EQ(window->height, 456);
    EXPECT_TRUE(window->fullScreen);
    EXPECT_TRUE(window->menuBarVisible);
    EXPECT_TRUE(window->resizeable && window->liveResize && window->closeButton && window->minimizeButton);
    EXPECT_FALSE(window->maximizeButton || window->fullScreenButton || window->hasBackColor);
    EXPECT_EQ(window->backColor, (Color { 255, 255, 255, 0 }));
    ASSERT_EQ(platform.shownWindows().size(), 1u);
    EXPECT_EQ(platform.shownWindows()[0], window.get());

    ASSERT_TRUE(MainMenuBar::implicitInstance_);
    EXPECT_EQ(window->menuBar.get(), MainMenuBar::implicitInstance_.get());
    EXPECT_EQ(framework().application->menuBar.get(), MainMenuBar::implicitInstance_.get());
    EXPECT_TRUE(framework().application->isA(App::lookup()));
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
        registered[i] = window->controls[i].control.ptr();

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
    std::size_t open = framework().windows.size();
    EXPECT_EQ(Window1::instance().get(), window.get());
    EXPECT_EQ(framework().windows.size(), open) << "nothing new was constructed";
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
    EXPECT_TRUE(static_cast<Window1::Window1*>(created.ptr())->controls.empty());
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
