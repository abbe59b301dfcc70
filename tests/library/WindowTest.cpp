#include "support/HeadlessFixture.h"
#include "support/PropertySetBuilder.h"

#include "library/Label.h"
#include "library/MassPropertySetter.h"
#include "library/MenuBar.h"
#include "library/PaneChild.h"
#include "library/ProgressBar.h"
#include "library/Timer.h"
#include "library/Window.h"
#include "runtime/Delegate.h"

#include <functional>
#include <limits>

using namespace std::string_literals;
using namespace std::chrono_literals;

namespace {
// A window class with handlers of its own, built the way a program builds one.
struct TestWindow : Window {
    std::vector<std::string> log;
    int ticks = 0;

    static void OnCreateControls(TestWindow* self) { self->log.push_back("CreateControls"); }
    static void OnLayout(TestWindow* self) { self->log.push_back("Layout"); }
    static void OnOpen(TestWindow* self) { self->log.push_back("Open"); }
    static bool OnMouseDown(TestWindow* self, std::int32_t x, std::int32_t y)
    {
        self->log.push_back("MouseDown " + std::to_string(x) + "," + std::to_string(y));
        return true;
    }
    static bool OnKeyDown(TestWindow* self, String* key)
    {
        self->log.push_back("KeyDown " + std::string(key->bytes()));
        return false;
    }
    static void OnTick(TestWindow* self, Timer*) { ++self->ticks; }

    static constexpr Slot<void(Timer*)> kOnTick { Window::kMethodCount };
    static ClassTable* ctbl;
    static void ctblinit()
    {
        ctbl = RuntimeNewClass(Window::lookup());
        RuntimeSetClassName(ctbl, "test.TestWindow");
        ctbl->allocate = &allocateInstance<TestWindow>;
        RuntimeNewVtable(ctbl, { method<&OnTick>() });
        RuntimeBindEventHandler<&OnCreateControls>(ctbl, Window::kCreateControls);
        RuntimeBindEventHandler<&OnLayout>(ctbl, Window::kLayout);
        RuntimeBindEventHandler<&OnOpen>(ctbl, Window::kOpenEvent);
        RuntimeBindEventHandler<&OnMouseDown>(ctbl, Window::kMouseDown);
        RuntimeBindEventHandler<&OnKeyDown>(ctbl, Window::kKeyDownEvent);
    }
    static ClassTable* lookup() { return classLookup<TestWindow>(); }
};
ClassTable* TestWindow::ctbl = nullptr;

const std::string kWindowSet = propset::build({ { "Placement", 0 }, { "Width", 776 }, { "Height", 456 },
    { "MinWidth", 64 }, { "MinHeight", 64 }, { "MaxWidth", 32000 }, { "MaxHeight", 32000 }, { "Frame", 0 },
    { "Composite", false }, { "HasBackColor", false }, { "BackColor", Color { 255, 255, 255, 0 } },
    { "Title", "\xE3\x83\x9C\xE3\x83\xAB\xE3\x83\x9A\xE3\x83\xAB"s }, { "Visible", true },
    { "FullScreen", true }, { "MenuBarVisible", true }, { "CloseButton", true }, { "Resizeable", true },
    { "LiveResize", true }, { "MaximizeButton", false }, { "MinimizeButton", true },
    { "FullScreenButton", false }, { "MacProcID", 0 } });
const std::string kTimerSet = propset::build({ { "Mode", 2 }, { "Period", 1000 } });
const std::string kBarSet
    = propset::build({ { "Name", "limitbar"s }, { "Index", std::numeric_limits<int32_t>::min() },
        { "Left", 20 }, { "Top", 414 }, { "Width", 736 }, { "Height", 22 }, { "LockLeft", true },
        { "LockTop", false }, { "LockRight", true }, { "LockBottom", true }, { "TabPanelIndex", 0 },
        { "Visible", true }, { "HelpTag", ""s }, { "AutoDeactivate", true }, { "Enabled", true },
        { "Value", 0 }, { "Maximum", 60 }, { "InitialParent", ""s } });
const std::string kLabelSet = propset::build({ { "Name", "timertext"s },
    { "Index", std::numeric_limits<int32_t>::min() }, { "Left", 20 }, { "Top", 14 }, { "Width", 728 },
    { "Height", 388 }, { "LockLeft", true }, { "LockTop", true }, { "LockRight", true },
    { "LockBottom", true }, { "TabPanelIndex", 0 }, { "TabIndex", 0 }, { "Text", "01:00"s },
    { "TextAlign", 1 }, { "TextColor", Color { 0, 0, 0, 0 } }, { "Multiline", false }, { "Enabled", true },
    { "Visible", true }, { "Selectable", false }, { "Transparent", false }, { "HelpTag", ""s },
    { "AutoDeactivate", true }, { "TextFont", "System"s }, { "Bold", true }, { "Italic", false },
    { "Underline", false }, { "DataSource", ""s }, { "DataField", ""s }, { "InitialParent", ""s } });

void applySet(Object& object, const std::string& set)
{
    Ref<String> bytes = String::create(set);
    RuntimeMassPropertySetter(&object, bytes.ptr());
}

template <class T> Ref<T> addControl(Window& window, const char* name)
{
    Ref<T> control = newObject<T>();
    Ref<String> controlName = String::create(name);
    callMethod(&window, Window::kAddControl, controlName.ptr(), control.ptr());
    return control;
}
// A pane child that records its links, as a timer placed on a window does.
struct Pane : Timer {
    std::vector<Window*> links;
    static void SetWindow(Pane* self, Window* window) { self->links.push_back(window); }
    static RefPtr<Window> GetWindow(Pane*) { return nullptr; }
    static std::int32_t Index(Pane*) { return 0; }
    static void SetIndex(Pane*, std::int32_t) { }
    static ClassTable* ctbl;
    static void ctblinit()
    {
        ctbl = RuntimeNewClass(Timer::lookup());
        ctbl->allocate = &allocateInstance<Pane>;
        RuntimeRegisterInterface(ctbl, PaneChild_::lookup(),
            { method<&SetWindow>(), method<&GetWindow>(), method<&Index>(), method<&SetIndex>() });
    }
    static ClassTable* lookup() { return classLookup<Pane>(); }
};
ClassTable* Pane::ctbl = nullptr;
// A window whose Close handler raises.
struct FailingCloseWindow : Window {
    static void OnClose(FailingCloseWindow*) { RuntimeRaise(RuntimeException::lookup(), "close failed"); }
    static ClassTable* ctbl;
    static void ctblinit()
    {
        ctbl = RuntimeNewClass(Window::lookup());
        RuntimeSetClassName(ctbl, "test.FailingCloseWindow");
        ctbl->allocate = &allocateInstance<FailingCloseWindow>;
        RuntimeBindEventHandler<&OnClose>(ctbl, Window::kCloseEvent);
    }
    static ClassTable* lookup() { return classLookup<FailingCloseWindow>(); }
};
ClassTable* FailingCloseWindow::ctbl = nullptr;
// A window whose Close operation keeps it open, as a program may answer its close button.
struct KeptOpenWindow : Window {
    int closeEvents = 0;
    static void KeepOpen(KeptOpenWindow*) { }
    static void OnClose(KeptOpenWindow* self) { ++self->closeEvents; }
    static ClassTable* ctbl;
    static void ctblinit()
    {
        ctbl = RuntimeNewClass(Window::lookup());
        RuntimeSetClassName(ctbl, "test.KeptOpenWindow");
        ctbl->allocate = &allocateInstance<KeptOpenWindow>;
        RuntimeReplaceMethod<&KeepOpen>(ctbl, Window::kClose);
        RuntimeBindEventHandler<&OnClose>(ctbl, Window::kCloseEvent);
    }
    static ClassTable* lookup() { return classLookup<KeptOpenWindow>(); }
};
ClassTable* KeptOpenWindow::ctbl = nullptr;
// A window that notes each Resized with the size it then shows and where its control was laid out.
struct ResizeWatchingWindow : Window {
    std::vector<std::string> log;
    static void OnResized(ResizeWatchingWindow* self)
    {
        std::string line = std::to_string(self->contentWidth()) + "x" + std::to_string(self->contentHeight());
        if (!self->controls().empty()) {
            auto& control = static_cast<RectControl&>(self->controls().front().control.get());
            line += " bar width " + std::to_string(control.frame().width);
        }
        self->log.push_back(line);
    }
    static ClassTable* ctbl;
    static void ctblinit()
    {
        ctbl = RuntimeNewClass(Window::lookup());
        RuntimeSetClassName(ctbl, "test.ResizeWatchingWindow");
        ctbl->allocate = &allocateInstance<ResizeWatchingWindow>;
        RuntimeBindEventHandler<&OnResized>(ctbl, Window::kResized);
    }
    static ClassTable* lookup() { return classLookup<ResizeWatchingWindow>(); }
};
ClassTable* ResizeWatchingWindow::ctbl = nullptr;
} // namespace

class WindowTest : public HeadlessTest { };

TEST_F(WindowTest, ConstructionRaisesCreateControlsLayoutOpenThenShowsAndIsFoundByClassName)
{
    Ref<TestWindow> window = newObject<TestWindow>();
    Ref<String> name = "test.TestWindow"_s;
    EXPECT_FALSE(RuntimeGetImplicitWindow(name.ptr()));
    callMethod(window.ptr(), Window::kConstructor);
    EXPECT_EQ(window->log, (std::vector<std::string> { "CreateControls", "Layout", "Open" }));
    EXPECT_EQ(platform.shownWindows(), std::vector<Window*> { window.ptr() });
    EXPECT_EQ(RuntimeGetImplicitWindow(name.ptr()).get(), window.ptr());
    EXPECT_EQ(window->refCount(), 2u) << "the framework holds the open window";
    Ref<String> other = "Window1.Window1"_s;
    EXPECT_FALSE(RuntimeGetImplicitWindow(other.ptr()));
}

TEST_F(WindowTest, MouseAndKeyDispatchReturnTheHandlersResultAndFalseWithoutOne)
{
    Ref<TestWindow> window = newObject<TestWindow>();
    Ref<String> key = "a"_s;
    EXPECT_TRUE(callMethod(window.ptr(), Window::kCallMouseDown, -5, 7));
    EXPECT_FALSE(callMethod(window.ptr(), Window::kKeyDown, key.ptr()));
    EXPECT_EQ(window->log, (std::vector<std::string> { "MouseDown -5,7", "KeyDown a" }));
    Ref<Window> plain = newObject<Window>();
    EXPECT_FALSE(callMethod(plain.ptr(), Window::kCallMouseDown, 1, 1));
    EXPECT_FALSE(callMethod(plain.ptr(), Window::kKeyDown, key.ptr()));
}

TEST_F(WindowTest, ControlsAreKeptByNameInOrderAndUnknownNamesGiveNil)
{
    Ref<Window> window = newObject<Window>();
    Ref<Label> label = addControl<Label>(window.get(), "timertext");
    Ref<ProgressBar> bar = addControl<ProgressBar>(window.get(), "limitbar");
    ASSERT_EQ(window->controls().size(), 2u);
    EXPECT_EQ(window->controls()[0].name->bytes(), "timertext");
    EXPECT_EQ(window->controls()[1].name->bytes(), "limitbar");
    Ref<String> name = "limitbar"_s;
    EXPECT_EQ(callMethod(window.ptr(), Window::kControlByName, name.ptr()).get(), bar.ptr());
    Ref<String> unknown = "nothing"_s;
    EXPECT_FALSE(callMethod(window.ptr(), Window::kControlByName, unknown.ptr()));
    EXPECT_EQ(label->window.get(), window.ptr()) << "a control is linked to its window";
    EXPECT_EQ(label->refCount(), 2u);
}

TEST_F(WindowTest, AWindowBuiltThroughTheLibraryTicksOnTheHeadlessClock)
{
    Ref<TestWindow> window = newObject<TestWindow>();
    Ref<Timer> timer = addControl<Timer>(window.get(), "vorpel_timer");
    Ref<ProgressBar> bar = addControl<ProgressBar>(window.get(), "limitbar");
    Ref<Label> label = addControl<Label>(window.get(), "timertext");
    applySet(timer.get(), kTimerSet);
    applySet(bar.get(), kBarSet);
    applySet(label.get(), kLabelSet);
    applySet(window.get(), kWindowSet);
    Ref<String> signature = "( Timer )"_s;
    Ref<Delegate> delegate = RuntimeCreateDelegate(Delegate::IM_InvokeEntry<Timer>(),
        window->classTable()->methods[TestWindow::kOnTick.index], window.ptr(), signature.ptr(), true);
    RuntimeAddEventHandler(timer.ptr(), Timer::kAction.index, AddHandler::StubEntry<0>(), delegate.ptr());
    callMethod(window.ptr(), Window::kConstructor);

    EXPECT_EQ(window->title().bytes(), u8"ボルペル"_s->bytes());
    EXPECT_EQ(window->width(), 776);
    EXPECT_TRUE(window->fullScreen());
    EXPECT_FALSE(window->maximizeButton());
    EXPECT_EQ(label->text().bytes(), "01:00");
    EXPECT_TRUE(label->bold());
    EXPECT_EQ(bar->maximum(), 60);
    EXPECT_EQ(bar->index, std::numeric_limits<int32_t>::min());
    EXPECT_EQ(timer->mode(), Timer::ModeMultiple);

    platform.advance(999ms);
    EXPECT_EQ(window->ticks, 0);
    platform.advance(1ms);
    EXPECT_EQ(window->ticks, 1);
    platform.advance(59s);
    EXPECT_EQ(window->ticks, 60);
}

TEST_F(WindowTest, LockLayoutFillsAboveTheBarAtEverySize)
{
    Ref<Window> window = newObject<Window>();
    Ref<ProgressBar> bar = addControl<ProgressBar>(window.get(), "limitbar");
    Ref<Label> label = addControl<Label>(window.get(), "timertext");
    applySet(bar.get(), kBarSet);
    applySet(label.get(), kLabelSet);
    applySet(window.get(), kWindowSet);
    struct Case {
        std::int32_t width, height;
        RectControl::Rect label, bar;
    };
    const Case cases[] = {
        { 776, 456, { 20, 14, 728, 388 }, { 20, 414, 736, 22 } },
        { 1920, 1080, { 20, 14, 1872, 1012 }, { 20, 1038, 1880, 22 } },
        { 400, 300, { 20, 14, 352, 232 }, { 20, 258, 360, 22 } },
        { 64, 64, { 20, 14, 16, 0 }, { 20, 22, 24, 22 } },
    };
    for (const Case& c : cases) {
        platform.resize(window.get(), c.width, c.height);
        EXPECT_EQ(label->frame(), c.label) << c.width << "x" << c.height;
        EXPECT_EQ(bar->frame(), c.bar) << c.width << "x" << c.height;
    }
}

// A new size lays the controls out before Resized is raised; the size already shown raises nothing.
TEST_F(WindowTest, ResizedIsRaisedAfterTheLayoutOnlyWhenTheShownSizeChanges)
{
    Ref<ResizeWatchingWindow> window = newObject<ResizeWatchingWindow>();
    Ref<ProgressBar> bar = addControl<ProgressBar>(window.get(), "limitbar");
    applySet(bar.get(), kBarSet);
    applySet(window.get(), kWindowSet);
    platform.resize(window.get(), 1920, 1080);
    platform.resize(window.get(), 1920, 1080);
    platform.resize(window.get(), 1920, 1000);
    platform.resize(window.get(), 800, 1000);
    platform.resize(window.get(), 800, 1000);
    EXPECT_EQ(window->log,
        (std::vector<std::string> {
            "1920x1080 bar width 1880", "1920x1000 bar width 1880", "800x1000 bar width 760" }));
}

// Each write the platform must show tells it once, and only while the window is open: setting the value
// it already has tells it nothing.
TEST_F(WindowTest, EachShownPropertyTellsThePlatformOncePerChangeWhileOpen)
{
    Ref<MenuBar> bar = newObject<MenuBar>();
    auto byName = [](propset::Entry entry) {
        return [set = propset::build({ entry })](Window& window) { applySet(window, set); };
    };
    struct Case {
        const char* what;
        std::function<void(Window&)> write;
        WindowAspect aspect;
    };
    const Case cases[] = {
        { "Title", byName({ "Title", "x"s }), WindowAspect::Title },
        { "Title.Set",
            [](Window& window) {
                Ref<String> title = "x"_s;
                Window::Title::Set(&window, 0, title.ptr());
            },
            WindowAspect::Title },
        { "Width", byName({ "Width", 800 }), WindowAspect::Size },
        { "Height", byName({ "Height", 300 }), WindowAspect::Size },
        { "Visible", byName({ "Visible", false }), WindowAspect::Visibility },
        { "FullScreen", byName({ "FullScreen", true }), WindowAspect::Flags },
        { "HasBackColor", byName({ "HasBackColor", true }), WindowAspect::Flags },
        { "BackColor", byName({ "BackColor", Color { 1, 2, 3, 0 } }), WindowAspect::Flags },
        { "MenuBarVisible", byName({ "MenuBarVisible", false }), WindowAspect::Flags },
        { "MenuBar.Set", [&](Window& window) { Window::MenuBar::Set(&window, 0, bar.ptr()); },
            WindowAspect::MenuBar },
    };
    for (const Case& c : cases) {
        Ref<Window> unopened = newObject<Window>();
        c.write(unopened.get());
        EXPECT_TRUE(platform.windowChanges().empty()) << c.what << " before the window opens";

        Ref<Window> window = newObject<Window>();
        callMethod(window.ptr(), Window::kConstructor);
        platform.forgetWindowChanges();
        c.write(window.get());
        c.write(window.get());
        EXPECT_EQ(platform.windowChanges(), std::vector<WindowAspect> { c.aspect }) << c.what;
        Window::Close(window.ptr());
        platform.forgetWindowChanges();
    }
}

TEST_F(WindowTest, ClosingTheLastWindowEndsTheLoopAndUnlinksPaneChildren)
{
    RefPtr<Window> window = newObject<Window>();
    Ref<Pane> pane = addControl<Pane>(*window, "pane");
    callMethod(window.get(), Window::kConstructor);
    platform.script([&] { platform.requestClose(*window); });
    platform.script([] { ADD_FAILURE() << "the loop went on after the last window closed"; });
    RuntimeRun();
    EXPECT_TRUE(platform.quitCalled());
    EXPECT_EQ(pane->links, (std::vector<Window*> { window.get(), nullptr }));
    EXPECT_TRUE(framework().windows().empty());
    EXPECT_EQ(window->refCount(), 1u);
}

TEST_F(WindowTest, AWindowWhoseCloseHandlerRaisesStillCloses)
{
    // Closed by the user inside the loop, and at shut-down beside a window that closes cleanly.
    Ref<FailingCloseWindow> window = newObject<FailingCloseWindow>();
    callMethod(window.ptr(), Window::kConstructor);
    platform.script([&] { platform.requestClose(window.get()); });
    platform.script([] { ADD_FAILURE() << "the loop went on after the last window closed"; });
    testing::internal::CaptureStderr();
    RuntimeRun();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Unhandled RuntimeException: close failed\n");
    EXPECT_FALSE(window->isOpen());
    EXPECT_TRUE(framework().windows().empty());
    EXPECT_TRUE(platform.shownWindows().empty());
    EXPECT_EQ(window->refCount(), 1u);
    EXPECT_EQ(RuntimeExit(), 1);

    RuntimeLibraryInitialize();
    Ref<FailingCloseWindow> failing = newObject<FailingCloseWindow>();
    Ref<Window> plain = newObject<Window>();
    callMethod(plain.ptr(), Window::kConstructor);
    callMethod(failing.ptr(), Window::kConstructor);
    testing::internal::CaptureStderr();
    RuntimeLibraryFinalize();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Unhandled RuntimeException: close failed\n");
    EXPECT_TRUE(framework().windows().empty());
    EXPECT_FALSE(plain->isOpen());
    EXPECT_EQ(plain->refCount(), 1u);
    EXPECT_EQ(failing->refCount(), 1u);
    EXPECT_EQ(RuntimeExit(), 1);
}

TEST_F(WindowTest, AWindowTheDesktopLosesClosesEvenWhenItsClassKeepsItOpenOnRequest)
{
    Ref<KeptOpenWindow> window = newObject<KeptOpenWindow>();
    callMethod(window.ptr(), Window::kConstructor);
    platform.script([&] {
        platform.requestClose(window.get());
        EXPECT_TRUE(window->isOpen()) << "a close request is the class's to answer";
        platform.destroyWindow(window.get());
    });
    platform.script([] { ADD_FAILURE() << "the loop went on after the last window was lost"; });
    RuntimeRun();
    EXPECT_TRUE(platform.quitCalled());
    EXPECT_FALSE(window->isOpen());
    EXPECT_EQ(window->closeEvents, 1);
    EXPECT_TRUE(framework().windows().empty());
    EXPECT_TRUE(platform.shownWindows().empty());
    EXPECT_EQ(window->refCount(), 1u);
    EXPECT_EQ(RuntimeExit(), 0);
}
