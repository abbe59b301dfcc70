#include "support/HeadlessFixture.h"
#include "support/RaisedBy.h"

#include "library/Application.h"
#include "library/MenuBar.h"
#include "library/Window.h"
#include "runtime/RuntimeException.h"

#include <stdexcept>
#include <string>
#include <thread>

namespace {
struct RaisingWindow : Window {
    static bool OnKeyDown(RaisingWindow*, String*) { RuntimeRaise(NilObjectException::lookup(), "no label"); }
    static ClassTable* ctbl;
    static void ctblinit()
    {
        ctbl = RuntimeNewClass(Window::lookup());
        RuntimeSetClassName(ctbl, "test.RaisingWindow");
        ctbl->allocate = &allocateInstance<RaisingWindow>;
        RuntimeBindEventHandler<&OnKeyDown>(ctbl, Window::kKeyDownEvent);
    }
    static ClassTable* lookup() { return classLookup<RaisingWindow>(); }
};
ClassTable* RaisingWindow::ctbl = nullptr;

struct ForgivingApp : Application {
    int seen = 0;
    static bool OnUnhandled(ForgivingApp* self, RuntimeException*)
    {
        ++self->seen;
        return true;
    }
    static ClassTable* ctbl;
    static void ctblinit()
    {
        ctbl = RuntimeNewClass(Application::lookup());
        ctbl->allocate = &allocateInstance<ForgivingApp>;
        RuntimeBindEventHandler<&OnUnhandled>(ctbl, Application::kUnhandledException);
    }
    static ClassTable* lookup() { return classLookup<ForgivingApp>(); }
};
ClassTable* ForgivingApp::ctbl = nullptr;

int lateStartupCalls = 0;
void lateStartup()
{
    ++lateStartupCalls;
}
} // namespace

class StartupTest : public HeadlessTest { };

TEST_F(StartupTest, AnUnhandledExceptionFromAHandlerIsReportedOnceAndEndsTheLoopWithStatusOne)
{
    Ref<RaisingWindow> window = newObject<RaisingWindow>();
    callMethod(window.ptr(), Window::kConstructor);
    platform.script([&] { platform.pressKey(window.get(), "x"); });
    platform.script([] { ADD_FAILURE() << "the loop went on after an unhandled exception"; });
    testing::internal::CaptureStderr();
    RuntimeRun();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Unhandled NilObjectException: no label\n");
    EXPECT_EQ(RuntimeExit(), 1);
}

TEST_F(StartupTest, TheApplicationMayHandleItAndTheLoopGoesOn)
{
    Ref<ForgivingApp> app = newObject<ForgivingApp>();
    RuntimeRegisterAppObject(app.ptr());
    Ref<RaisingWindow> window = newObject<RaisingWindow>();
    callMethod(window.ptr(), Window::kConstructor);
    bool reachedSecondStep = false;
    platform.script([&] { platform.pressKey(window.get(), "x"); });
    platform.script([&] { reachedSecondStep = true; });
    RuntimeRun();
    EXPECT_TRUE(reachedSecondStep);
    EXPECT_EQ(app->seen, 1);
    EXPECT_EQ(RuntimeExit(), 0);
}

TEST_F(StartupTest, LateStartupRunsOnceAndTheLoopDoesNotRunWithoutAWindow)
{
    lateStartupCalls = 0;
    RunFrameworkInitialization(&lateStartup);
    RunFrameworkInitialization(&lateStartup);
    EXPECT_EQ(lateStartupCalls, 1);
    bool ran = false;
    platform.script([&] { ran = true; });
    RuntimeRun();
    EXPECT_FALSE(ran);
}

TEST_F(StartupTest, APlugInTableMayBeEmptyButNeverNegative)
{
    EXPECT_EQ(raisedBy([] { RuntimeAllocatePluginEntrypointsTable(0); }), "");
    EXPECT_EQ(raisedBy([] { RuntimeAllocatePluginEntrypointsTable(-1); }), "InvalidArgumentException");
}

TEST_F(StartupTest, UserInterfaceOperationsRefuseOtherThreads)
{
    Ref<Window> window = newObject<Window>();
    Ref<String> title = "t"_s;
    std::vector<std::string> raised;
    std::thread other([&] {
        auto attempt = [&](auto&& body) {
            try {
                body();
            } catch (const RaisedException& e) {
                raised.push_back(std::string(e.exception().classTable()->nameView()));
            }
        };
        attempt([&] { Window::Constructor(window.ptr()); });
        attempt([&] { Window::Title::Set(window.ptr(), 0, title.ptr()); });
        attempt([&] { Window::MenuBar::Get(window.ptr(), 0); });
    });
    other.join();
    EXPECT_EQ(raised, std::vector<std::string>(3, "ThreadAccessingUIException"));
    EXPECT_FALSE(window->isOpen());
}

TEST_F(StartupTest, AFinaliserThatRaisesMakesTheExitStatusAFailure)
{
    ClassTable* table = RuntimeNewClass(Object::lookup());
    RuntimeSetClassName(table, "test.RaisingFinaliser");
    table->finalizer = [](Object*) { RaiseNilObjectException(); };
    EXPECT_EQ(RuntimeExit(), 0);
    testing::internal::CaptureStderr();
    RuntimeUnlockObject(RuntimeNewObject(table).leakRef());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
        "Exception in finaliser of test.RaisingFinaliser: NilObjectException: An object was nil.\n");
    EXPECT_EQ(RuntimeExit(), 1);
}

// Whatever a finaliser throws stays in the release: the object is freed, the failure reported, and
// nothing reaches the destructor that let the last reference go.
TEST_F(StartupTest, AFinaliserThatThrowsSomethingElseIsContainedAndReported)
{
    struct Case {
        const char* name;
        ClassTable::Hook finalizer;
        const char* report;
    };
    const Case cases[] = {
        { "test.StdFinaliser", [](Object*) { throw std::runtime_error("disk gone"); }, "disk gone" },
        { "test.OddFinaliser", [](Object*) { throw 42; }, "an exception of unknown type" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RuntimeLibraryInitialize();
        ClassTable* table = RuntimeNewClass(Object::lookup());
        RuntimeSetClassName(table, c.name);
        table->finalizer = c.finalizer;
        std::size_t before = RuntimeLiveObjectCount();
        testing::internal::CaptureStderr();
        {
            Ref<Object> object = RuntimeNewObject(table);
        }
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Exception in finaliser of " + std::string(c.name) + ": " + c.report + "\n");
        EXPECT_EQ(RuntimeLiveObjectCount(), before);
        EXPECT_EQ(RuntimeExit(), 1);
    }
}
