// Vorpel itself on X servers of its own (Xvfb, bare or with a window manager), its window then closed or
// destroyed by another client, as a user's tools would: the program must end with status 0 and leave
// nothing behind, neither a process nor a window. And on an XWayland whose compositor goes away: that is a
// lost display, not a closed window. And the class its window carries, by which a desktop finds the
// program's entry.

#include "support/X11Session.h"

namespace {
void sendClientMessage(xcb_connection_t* connection, xcb_window_t to, xcb_window_t about, xcb_atom_t type,
    std::uint32_t data0, std::uint32_t data1, std::uint32_t eventMask)
{
    xcb_client_message_event_t message {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = about;
    message.type = type;
    message.data.data32[0] = data0;
    message.data.data32[1] = data1;
    xcb_send_event(connection, 0, to, eventMask, reinterpret_cast<const char*>(&message));
}

// A window's WM_CLASS: the instance and class names, each ended by a zero byte.
std::optional<std::pair<std::string, std::string>> wmClass(xcb_connection_t* connection, xcb_window_t window)
{
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection,
        xcb_get_property(connection, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256), nullptr);
    std::optional<std::pair<std::string, std::string>> result;
    if (reply && reply->format == 8) {
        std::string value(static_cast<const char*>(xcb_get_property_value(reply)),
            static_cast<std::size_t>(xcb_get_property_value_length(reply)));
        std::size_t end = value.find('\0');
        if (end != std::string::npos && value.ends_with('\0'))
            result.emplace(value.substr(0, end), value.substr(end + 1, value.size() - end - 2));
    }
    std::free(reply);
    return result;
}

// Where a run's output goes; it goes when the test ends, however it ends.
struct OutputFile {
    std::string path = testing::TempDir() + "vorpel-x11-" + std::to_string(getpid()) + ".txt";
    ~OutputFile() { std::remove(path.c_str()); }
};

// Starts the program on the session's display, its output going to the file, and gives the windows it
// shows once it shows any (or has ended); a failure says so unless it is exactly one.
std::vector<xcb_window_t> startShowingOneWindow(
    X11Session& session, Child& program, const std::string& output)
{
    std::vector<xcb_window_t> windows;
    if (!program.start({ VORPEL_PROGRAM }, programEnvironment(session.display()), output.c_str())) {
        ADD_FAILURE() << "the program did not start";
        return windows;
    }
    if (!waitFor(30s, [&] {
            windows = session.windowsOf(program.pid());
            return !windows.empty() || !program.running();
        }))
        ADD_FAILURE() << "the program showed no window in 30 s";
    else if (windows.size() != 1)
        ADD_FAILURE() << "the program shows " << windows.size()
                      << " windows, not one; its output: " << contents(output);
    return windows;
}
} // namespace

TEST(ProgramOnX11Test, EndsWithStatusZeroAndLeavesNothingWhenItsWindowIsClosedOrDestroyed)
{
    enum class Action { Destroy, WmDelete, NetClose };
    struct Case {
        const char* name;
        bool windowManager;
        Action action;
    };
    const Case cases[] = {
        { "destroyed by another client, bare X server", false, Action::Destroy },
        { "destroyed by another client, under openbox", true, Action::Destroy },
        { "closed by openbox on a client's request (_NET_CLOSE_WINDOW)", true, Action::NetClose },
        { "asked to close without a window manager (WM_DELETE_WINDOW)", false, Action::WmDelete },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        X11Session session;
        session.start(c.windowManager);
        if (testing::Test::HasFatalFailure())
            return;
        OutputFile output;
        Child program;
        std::vector<xcb_window_t> windows = startShowingOneWindow(session, program, output.path);
        ASSERT_EQ(windows.size(), 1u);
        xcb_connection_t* x = session.connection();
        xcb_window_t window = windows.front();
        switch (c.action) {
        case Action::Destroy:
            xcb_destroy_window(x, window);
            break;
        case Action::WmDelete:
            sendClientMessage(x, window, window, atom(x, "WM_PROTOCOLS"), atom(x, "WM_DELETE_WINDOW"),
                XCB_CURRENT_TIME, XCB_EVENT_MASK_NO_EVENT);
            break;
        case Action::NetClose:
            sendClientMessage(x, session.root(), window, atom(x, "_NET_CLOSE_WINDOW"), XCB_CURRENT_TIME, 2,
                XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT);
            break;
        }
        xcb_flush(x);
        pid_t pid = program.pid();
        std::optional<int> status = program.waitExit(20s);
        ASSERT_TRUE(status.has_value()) << "the program runs on";
        EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0)
            << "wait status " << *status << "; its output: " << contents(output.path);
        EXPECT_EQ(contents(output.path), "");
        EXPECT_TRUE(session.windowsOf(pid).empty()) << "a window of the program is still shown";
    }
}

// The compositor under an XWayland client ends, and the X server with it. The server's dying destroys the
// program's window too, so the program must tell a lost connection from a window another client
// destroyed: Qt's one line about the broken connection and status 1, never status 0 in silence. Whether
// the program sees the window's destruction before the broken connection is a race, hence many runs,
// several at once.
TEST(ProgramOnXWaylandTest, EndsWithStatusOneAndOneLineWhenTheCompositorGoesAway)
{
    struct Run {
        std::string trouble;
        bool ticked = false;
        std::optional<int> status;
        std::string output;
    };
    constexpr std::size_t kRuns = 20;
    constexpr std::size_t kAtOnce = 4;
    std::vector<Run> runs(kRuns);
    auto play = [](Run& run, const std::string& output) {
        X11Session session;
        session.startXWayland();
        if (testing::Test::HasFatalFailure()) {
            run.trouble = "no XWayland";
            return;
        }
        Child program;
        if (!program.start({ VORPEL_PROGRAM }, programEnvironment(session.display()), output.c_str())) {
            run.trouble = "the program did not start";
            return;
        }
        std::vector<xcb_window_t> windows;
        waitFor(30s, [&] {
            windows = session.windowsOf(program.pid());
            return !windows.empty() || !program.running();
        });
        if (windows.size() != 1) {
            run.trouble = "no one window shown; its output: " + contents(output);
            return;
        }
        run.ticked = session.waitForTick(windows.front(), 5s, [&] { return !program.running(); });
        kill(session.serverPid(), SIGTERM);
        run.status = program.waitExit(20s);
        run.output = contents(output);
        std::remove(output.c_str());
    };
    std::vector<std::thread> workers;
    for (std::size_t worker = 0; worker < kAtOnce; ++worker) {
        workers.emplace_back([&, worker] {
            for (std::size_t i = worker; i < kRuns; i += kAtOnce)
                play(runs[i],
                    testing::TempDir() + "vorpel-xwayland-" + std::to_string(getpid()) + "-"
                        + std::to_string(i) + ".txt");
        });
    }
    for (std::thread& worker : workers)
        worker.join();

    for (std::size_t i = 0; i < kRuns; ++i) {
        const Run& run = runs[i];
        SCOPED_TRACE(
            testing::Message() << "run " << i + 1 << (run.ticked ? ", after a tick" : ", before a tick"));
        ASSERT_EQ(run.trouble, "");
        ASSERT_TRUE(run.status.has_value()) << "the program outlived its display";
        // Who tells depends on which goes first: the server, or the compositor's window manager with our
        // window in its frame. Either way it is one line that says the display is lost.
        bool oneLine
            = (run.output.starts_with("The X11 connection broke")
                  || run.output.starts_with("The X11 window manager ended and took the window with it"))
            && std::count(run.output.begin(), run.output.end(), '\n') == 1 && run.output.ends_with('\n');
        EXPECT_TRUE(WIFEXITED(*run.status) && WEXITSTATUS(*run.status) == 1 && oneLine)
            << "wait status " << *run.status << ", output [" << run.output << "]";
    }
}

// A desktop matches the window to the program's desktop entry by the class part of WM_CLASS; the instance
// part is the program's file name, as X resources expect.
TEST(ProgramOnX11Test, TheWindowsClassIsTheDesktopEntrysId)
{
    X11Session session;
    session.start(true);
    if (testing::Test::HasFatalFailure())
        return;
    OutputFile output;
    Child program;
    std::vector<xcb_window_t> windows = startShowingOneWindow(session, program, output.path);
    ASSERT_EQ(windows.size(), 1u);
    std::optional<std::pair<std::string, std::string>> names = wmClass(session.connection(), windows.front());
    ASSERT_TRUE(names.has_value()) << "the window has no readable WM_CLASS";
    EXPECT_EQ(names->second, VORPEL_APP_ID);
    EXPECT_EQ(names->first, "vorpel");
}
