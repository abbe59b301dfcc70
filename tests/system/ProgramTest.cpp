#include "SystemSupport.h"

#include "app/App.h"
#include "menus/MainMenuBar.h"
#include "runtime/FaultInjection.h"
#include "runtime/RefTrace.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {
// The objects whose last reference went, in order, while recording.
class LastReleases {
public:
    LastReleases() { RuntimeSetRefTrace(&hook, this); }
    ~LastReleases() { RuntimeSetRefTrace(nullptr, nullptr); }
    LastReleases(const LastReleases&) = delete;
    LastReleases& operator=(const LastReleases&) = delete;

    bool recording = false;
    std::vector<const void*> order;

    std::ptrdiff_t position(const void* object) const
    {
        auto found = std::find(order.begin(), order.end(), object);
        return found == order.end() ? -1 : found - order.begin();
    }

private:
    static void hook(RefEvent event, const void* target, std::uint32_t countAfter, void* context)
    {
        auto* self = static_cast<LastReleases*>(context);
        if (self->recording && event == RefEvent::UnlockObject && countAfter == 0)
            self->order.push_back(target);
    }
};

std::size_t countLines(const std::string& text, const std::string& start)
{
    std::size_t lines = 0;
    for (std::size_t at = text.find(start); at != std::string::npos; at = text.find(start, at + 1))
        ++lines;
    return lines;
}

void refusingConstructor(App*)
{
    RuntimeRaise(InvalidArgumentException::lookup(), "refused by the test");
}
RefPtr<MenuItem> noMenu(MenuItem*, String*)
{
    return nullptr;
}
RefPtr<MenuItem> noEditMenu(MenuItem* bar, String* name)
{
    if (name->bytes() == "EditMenu")
        return nullptr;
    return MenuItem::Child(bar, name);
}
} // namespace

TEST(Program, NormalRunQuitsFromTheFileMenuAndReleasesTheMenuBarLast)
{
    HeadlessPlatform platform;
    RuntimeSetPlatform(&platform);
    initialize(); // class tables keep their strings for good: count from here
    std::size_t objects = RuntimeLiveObjectCount();
    std::size_t strings = RuntimeLiveStringCount();

    LastReleases releases;
    const void* window = nullptr;
    const void* application = nullptr;
    const void* menuBar = nullptr;
    platform.script([&] {
        ASSERT_EQ(platform.shownWindows().size(), 1u);
        auto* shown = static_cast<Window1::Window1*>(platform.shownWindows()[0]);
        EXPECT_EQ(shown->classTable(), Window1::Window1::lookup());
        window = shown;
        application = framework().application();
        menuBar = MainMenuBar::implicitInstance_.get();
        ASSERT_NE(menuBar, nullptr);
        EXPECT_EQ(framework().application()->menuBar.get(), menuBar);
        EXPECT_EQ(shown->menuBar(), menuBar);
        platform.advance(3s);
        EXPECT_EQ(Window1::Window1::timertext(shown)->text().bytes(), "00:57");
    });
    platform.script([&] {
        RefPtr<QuitMenuItem> quit
            = Window1::Window1::FileQuit(static_cast<Window1::Window1*>(platform.shownWindows()[0]));
        ASSERT_TRUE(quit);
        releases.recording = true;
        platform.chooseMenu(*quit);
    });
    platform.script([] { ADD_FAILURE() << "the loop went on after Quit"; });

    testing::internal::CaptureStderr();
    std::int32_t status = runProgram();
    std::string reported = testing::internal::GetCapturedStderr();
    RuntimeSetPlatform(nullptr);

    EXPECT_EQ(status, 0);
    EXPECT_EQ(reported, "");
    EXPECT_TRUE(platform.quitCalled());
    EXPECT_TRUE(platform.shownWindows().empty());
    EXPECT_FALSE(MainMenuBar::implicitInstance_);
    EXPECT_EQ(RuntimeLiveObjectCount(), objects) << "objects leaked";
    EXPECT_EQ(RuntimeLiveStringCount(), strings) << "strings leaked";

    std::ptrdiff_t windowGone = releases.position(window);
    std::ptrdiff_t applicationGone = releases.position(application);
    std::ptrdiff_t menuBarGone = releases.position(menuBar);
    ASSERT_GE(windowGone, 0);
    ASSERT_GE(applicationGone, 0);
    EXPECT_GT(menuBarGone, windowGone);
    EXPECT_GT(menuBarGone, applicationGone);
}

// Whatever escapes start-up or the loop is reported once; shut-down still runs and nothing is left.
TEST(Program, EscapingExceptionIsReportedOnceAndShutDownStillRuns)
{
    struct Case {
        const char* what;
        std::function<std::unique_ptr<ReplacedEntry>()> arrange;
        bool raiseInLoop;
        const char* report;
        bool windowOpened;
    };
    const Case cases[] = {
        { "the application's constructor raises",
            [] {
                return std::make_unique<ReplacedEntry>(
                    App::lookup(), App::kConstructor.index, method<&refusingConstructor>());
            },
            false, "Unhandled InvalidArgumentException: refused by the test", false },
        { "the menu bar cannot find its File menu",
            [] {
                return std::make_unique<ReplacedEntry>(
                    MainMenuBar::MainMenuBar::lookup(), MenuItem::kChild.index, method<&noMenu>());
            },
            false, "Unhandled NilObjectException", false },
        { "the menu bar cannot find its Edit menu for the first Edit item",
            [] {
                return std::make_unique<ReplacedEntry>(
                    MainMenuBar::MainMenuBar::lookup(), MenuItem::kChild.index, method<&noEditMenu>());
            },
            false, "Unhandled NilObjectException", false },
        { "an exception leaves the event loop", [] { return std::unique_ptr<ReplacedEntry>(); }, true,
            "Unhandled NilObjectException", true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HeadlessPlatform platform;
        RuntimeSetPlatform(&platform);
        initialize();
        std::size_t objects = RuntimeLiveObjectCount();
        std::unique_ptr<ReplacedEntry> replaced = c.arrange();

        bool loopRan = false;
        std::size_t windowsSeen = 0;
        platform.script([&] {
            loopRan = true;
            windowsSeen = platform.shownWindows().size();
            if (c.raiseInLoop)
                RaiseNilObjectException();
        });
        platform.script([] { ADD_FAILURE() << "the loop went on"; });

        testing::internal::CaptureStderr();
        std::int32_t status = runProgram();
        std::string reported = testing::internal::GetCapturedStderr();
        replaced.reset();
        RuntimeSetPlatform(nullptr);

        EXPECT_NE(status, 0);
        EXPECT_EQ(countLines(reported, "Unhandled"), 1u) << reported;
        EXPECT_EQ(countLines(reported, c.report), 1u) << reported;
        EXPECT_EQ(loopRan, c.windowOpened);
        EXPECT_EQ(windowsSeen, c.windowOpened ? 1u : 0u);
        EXPECT_TRUE(platform.shownWindows().empty());
        EXPECT_FALSE(MainMenuBar::implicitInstance_);
        EXPECT_EQ(RuntimeLiveObjectCount(), objects) << "objects outlived the run";
    }
}

// Wherever early start-up stops, a registered application object already has its menu bar.
TEST(Program, ApplicationIsRegisteredOnlyWithItsMenuBarSet)
{
    HeadlessPlatform platform;
    RuntimeSetPlatform(&platform);
    initialize();
    const std::size_t objects = RuntimeLiveObjectCount();
    bool registeredAfterAFailure = false;
    for (std::uint64_t n = 1;; ++n) {
        SCOPED_TRACE(testing::Message() << "failing call " << n);
        initialize();
        RuntimeSetFaultInjection(n);
        std::string raised = raisedBy([] { EarlyStartup_(); });
        bool fired = RuntimeFaultInjectionCalls() >= n;
        RuntimeSetFaultInjection(0);

        const bool registered = framework().application() != nullptr;
        if (registered) {
            EXPECT_TRUE(framework().application()->menuBar);
            EXPECT_EQ(framework().application()->menuBar.get(), MainMenuBar::implicitInstance_.get());
        }
        registeredAfterAFailure = registeredAfterAFailure || (fired && registered);
        finalize();
        EXPECT_EQ(RuntimeLiveObjectCount(), objects);
        if (!fired) {
            EXPECT_EQ(raised, "");
            EXPECT_TRUE(registered) << "a whole early start-up registers the application";
            break;
        }
        EXPECT_EQ(raised, "RuntimeException");
    }
    EXPECT_FALSE(registeredAfterAFailure) << "registration is the last step that can fail";
    RuntimeSetPlatform(nullptr);
}

// The program's helper and the framework's default one keep the same contract.
TEST(Program, ExceptionHelpersReturnRuntimeExceptionsAndPassOthersOn)
{
    struct Case {
        const char* what;
        ExceptionHelper helper;
    };
    const Case cases[] = {
        { "the program's", &CallFunctionWithExceptionHandling_ },
        { "the framework's default", &RuntimeDefaultExceptionHelper },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        bool ran = false;
        EXPECT_EQ(c.helper([](void* flag) { *static_cast<bool*>(flag) = true; }, &ran), nullptr);
        EXPECT_TRUE(ran);

        RefPtr<RuntimeException> caught
            = adoptRef(c.helper([](void*) { RaiseNilObjectException(); }, nullptr));
        ASSERT_TRUE(caught);
        EXPECT_TRUE(caught->isA(NilObjectException::lookup()));
        EXPECT_EQ(caught->refCount(), 1u) << "handed over with exactly one reference";

        EXPECT_THROW(
            c.helper([](void*) { throw std::runtime_error("not ours"); }, nullptr), std::runtime_error);
    }
}

TEST(Program, ApplicationClassAddsOnlyItsConstructorAndHandlesNoEvents)
{
    const ClassTable* table = App::lookup();
    App::ctblinit();
    EXPECT_EQ(App::lookup(), table) << "registered once";
    EXPECT_EQ(table->nameView(), "App");
    EXPECT_EQ(table->base, Application::lookup());
    ASSERT_EQ(table->methods.size(), App::kMethodCount);
    for (std::size_t slot = 0; slot < Application::kMethodCount; ++slot)
        EXPECT_EQ(table->methods[slot].fn, Application::lookup()->methods[slot].fn) << "slot " << slot;
    ASSERT_EQ(table->operations.size(), 1u);
    EXPECT_EQ(table->operations[0].name->bytes(), "Constructor");
    for (const EventInfo& event : table->events)
        EXPECT_FALSE(event.handler) << event.name;
}
