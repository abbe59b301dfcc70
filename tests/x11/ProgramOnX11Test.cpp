// Vorpel itself on X servers of its own (Xvfb, bare or with a window manager), its window then closed or
// destroyed by another client, as a user's tools would: the program must end with status 0 and leave
// nothing behind, neither a process nor a window. And the class its window carries, by which a desktop
// finds the program's entry.

#include <xcb/xcb.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Polls until ready() holds or the time is up; says whether it held.
bool waitFor(Clock::duration limit, const std::function<bool()>& ready)
{
    Clock::time_point end = Clock::now() + limit;
    for (;;) {
        if (ready())
            return true;
        if (Clock::now() >= end)
            return false;
        std::this_thread::sleep_for(20ms);
    }
}

// A child process; whatever is still running when the test ends is killed and reaped.
class Child {
public:
    Child() = default;
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child() { stop(); }

    // Starts the program found on PATH with this environment; its stdout and stderr go to outputFile
    // (nullptr: /dev/null), and passFd, when given, is its descriptor 3.
    bool start(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
        const char* outputFile = nullptr, int passFd = -1)
    {
        std::vector<char*> argv;
        for (const std::string& a : arguments)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (const std::string& e : environment)
            envp.push_back(const_cast<char*>(e.c_str()));
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(
            &actions, 1, outputFile ? outputFile : "/dev/null", O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        if (passFd >= 0)
            posix_spawn_file_actions_adddup2(&actions, passFd, 3);
        int failed = posix_spawnp(&m_pid, argv[0], &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (failed) {
            m_pid = -1;
            ADD_FAILURE() << "cannot start " << arguments[0] << ": " << std::strerror(failed);
            return false;
        }
        return true;
    }

    pid_t pid() const { return m_pid; }
    bool running() { return m_pid > 0 && !reap(WNOHANG); }

    // Waits for the exit; the wait status, or nothing when it is still running after the limit.
    std::optional<int> waitExit(Clock::duration limit)
    {
        if (m_pid <= 0)
            return m_status;
        waitFor(limit, [&] { return reap(WNOHANG); });
        return m_status;
    }

    // Asks it to end, then makes it; bounded either way.
    void stop()
    {
        if (m_pid <= 0)
            return;
        kill(m_pid, SIGTERM);
        if (!waitFor(3s, [&] { return reap(WNOHANG); })) {
            kill(m_pid, SIGKILL);
            reap(0);
        }
    }

private:
    bool reap(int options)
    {
        int status = 0;
        pid_t done = waitpid(m_pid, &status, options);
        if (done == m_pid || (done < 0 && errno == ECHILD)) {
            m_status = status;
            m_pid = -1;
            return true;
        }
        return false;
    }

    pid_t m_pid = -1;
    std::optional<int> m_status;
};

// The environment of this test with the display settings replaced.
std::vector<std::string> environmentFor(const std::string& display)
{
    std::vector<std::string> result;
    for (char** entry = environ; *entry; ++entry) {
        std::string_view e(*entry);
        if (e.starts_with("DISPLAY=") || e.starts_with("WAYLAND_DISPLAY=") || e.starts_with("QT_QPA_PLATFORM="))
            continue;
        result.emplace_back(e);
    }
    result.push_back("DISPLAY=" + display);
    return result;
}

// The program's environment: that of the display, and under AddressSanitizer leak checks that pass over
// what the system's D-Bus library keeps to the end, saying nothing about it.
std::vector<std::string> programEnvironment(const std::string& display)
{
    std::vector<std::string> result;
    std::string leakOptions;
    for (std::string& entry : environmentFor(display)) {
        if (entry.starts_with("LSAN_OPTIONS="))
            leakOptions = entry.substr(std::strlen("LSAN_OPTIONS=")) + ":";
        else
            result.push_back(std::move(entry));
    }
    result.push_back("LSAN_OPTIONS=" + leakOptions + "suppressions=" VORPEL_LSAN_SUPPRESSIONS
                     ":print_suppressions=0");
    return result;
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection,
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    xcb_atom_t result = reply ? reply->atom : xcb_atom_t { XCB_ATOM_NONE };
    std::free(reply);
    return result;
}

std::optional<std::uint32_t> cardinal(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property)
{
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, XCB_ATOM_ANY, 0, 1), nullptr);
    std::optional<std::uint32_t> result;
    if (reply && reply->format == 32 && xcb_get_property_value_length(reply) >= 4)
        result = *static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
    std::free(reply);
    return result;
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

// An X server of the test's own, on a display number it picks itself, and a client connection to it.
class X11Session {
public:
    ~X11Session()
    {
        if (m_connection)
            xcb_disconnect(m_connection);
        m_windowManager.stop();
        m_server.stop();
    }

    void start(bool withWindowManager)
    {
        int ready[2];
        ASSERT_EQ(pipe2(ready, O_CLOEXEC), 0);
        bool started = m_server.start({ "Xvfb", "-displayfd", "3", "-screen", "0", "1280x800x24", "-nolisten",
                                          "tcp" },
            environmentFor(""), nullptr, ready[1]);
        close(ready[1]);
        std::string number;
        if (started) {
            pollfd watch { ready[0], POLLIN, 0 };
            char digit = 0;
            while (poll(&watch, 1, 20000) > 0 && read(ready[0], &digit, 1) == 1 && digit != '\n')
                number += digit;
        }
        close(ready[0]);
        ASSERT_TRUE(started);
        ASSERT_FALSE(number.empty()) << "Xvfb gave no display number";
        m_display = ":" + number;
        m_connection = xcb_connect(m_display.c_str(), nullptr);
        ASSERT_FALSE(xcb_connection_has_error(m_connection)) << "cannot connect to " << m_display;
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        if (!withWindowManager)
            return;
        ASSERT_TRUE(m_windowManager.start({ "openbox", "--sm-disable" }, environmentFor(m_display)));
        xcb_atom_t check = atom(m_connection, "_NET_SUPPORTING_WM_CHECK");
        ASSERT_TRUE(waitFor(20s, [&] { return cardinal(m_connection, m_root, check).has_value(); }))
            << "openbox did not come up";
    }

    const std::string& display() const { return m_display; }
    xcb_connection_t* connection() const { return m_connection; }
    xcb_window_t root() const { return m_root; }

    // The mapped windows that carry this process id, at any depth (a window manager reparents them).
    std::vector<xcb_window_t> windowsOf(pid_t pid) const
    {
        xcb_atom_t pidAtom = atom(m_connection, "_NET_WM_PID");
        std::vector<xcb_window_t> found;
        std::function<void(xcb_window_t)> visit = [&](xcb_window_t parent) {
            xcb_query_tree_reply_t* tree
                = xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, parent), nullptr);
            if (!tree)
                return;
            xcb_window_t* children = xcb_query_tree_children(tree);
            std::vector<xcb_window_t> list(children, children + xcb_query_tree_children_length(tree));
            std::free(tree);
            for (xcb_window_t child : list) {
                xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
                    m_connection, xcb_get_window_attributes(m_connection, child), nullptr);
                bool viewable = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
                std::free(attributes);
                if (!viewable)
                    continue;
                if (cardinal(m_connection, child, pidAtom) == static_cast<std::uint32_t>(pid))
                    found.push_back(child);
                visit(child);
            }
        };
        visit(m_root);
        return found;
    }

private:
    Child m_server;
    Child m_windowManager;
    std::string m_display;
    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = XCB_WINDOW_NONE;
};

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

std::string contents(const std::string& path)
{
    std::ifstream in(path);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
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
        std::string output = testing::TempDir() + "vorpel-x11-" + std::to_string(getpid()) + ".txt";
        Child program;
        ASSERT_TRUE(program.start({ VORPEL_PROGRAM }, programEnvironment(session.display()), output.c_str()));
        std::vector<xcb_window_t> windows;
        ASSERT_TRUE(waitFor(30s, [&] {
            windows = session.windowsOf(program.pid());
            return !windows.empty() || !program.running();
        }));
        ASSERT_EQ(windows.size(), 1u) << "the program shows one window; its output: " << contents(output);
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
            << "wait status " << *status << "; its output: " << contents(output);
        EXPECT_EQ(contents(output), "");
        EXPECT_TRUE(session.windowsOf(pid).empty()) << "a window of the program is still shown";
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
    std::string output = testing::TempDir() + "vorpel-x11-" + std::to_string(getpid()) + ".txt";
    Child program;
    ASSERT_TRUE(program.start({ VORPEL_PROGRAM }, programEnvironment(session.display()), output.c_str()));
    std::vector<xcb_window_t> windows;
    ASSERT_TRUE(waitFor(30s, [&] {
        windows = session.windowsOf(program.pid());
        return !windows.empty() || !program.running();
    }));
    ASSERT_EQ(windows.size(), 1u) << "the program shows one window; its output: " << contents(output);
    std::optional<std::pair<std::string, std::string>> names = wmClass(session.connection(), windows.front());
    ASSERT_TRUE(names.has_value()) << "the window has no readable WM_CLASS";
    EXPECT_EQ(names->second, VORPEL_APP_ID);
    EXPECT_EQ(names->first, "vorpel");
}
