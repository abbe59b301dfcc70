#pragma once

// What the suites that run the real program on X servers of their own share: child processes that are
// killed and reaped at the end, the program's environment, and a session on an Xvfb (with openbox or
// bare) or on a headless weston's XWayland, with a client connection to look at the program's windows.
// Each suite defines VORPEL_LSAN_SUPPRESSIONS, the file the program's leak checks run with.

#include <xcb/xcb.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <mutex>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Polls until ready() holds or the time is up; says whether it held.
inline bool waitFor(Clock::duration limit, const std::function<bool()>& ready)
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
inline std::vector<std::string> environmentFor(const std::string& display)
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
inline std::vector<std::string> programEnvironment(const std::string& display)
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

inline xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection,
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    xcb_atom_t result = reply ? reply->atom : xcb_atom_t { XCB_ATOM_NONE };
    std::free(reply);
    return result;
}

inline std::optional<std::uint32_t> cardinal(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property)
{
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, XCB_ATOM_ANY, 0, 1), nullptr);
    std::optional<std::uint32_t> result;
    if (reply && reply->format == 32 && xcb_get_property_value_length(reply) >= 4)
        result = *static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
    std::free(reply);
    return result;
}

inline std::string contents(const std::string& path)
{
    std::ifstream in(path);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

// An X server of the test's own, on a display number it picks itself, and a client connection to it.
class X11Session {
public:
    X11Session() = default;
    X11Session(const X11Session&) = delete;
    X11Session& operator=(const X11Session&) = delete;
    ~X11Session()
    {
        if (m_connection)
            xcb_disconnect(m_connection);
        m_windowManager.stop();
        m_server.stop();
        if (!m_runtimeDir.empty())
            std::filesystem::remove_all(m_runtimeDir);
    }

    // An Xvfb, with openbox on it or bare.
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
        ASSERT_NO_FATAL_FAILURE(connect(":" + number));
        if (!withWindowManager)
            return;
        ASSERT_TRUE(m_windowManager.start({ "openbox", "--sm-disable" }, environmentFor(m_display)));
        xcb_atom_t check = atom(m_connection, "_NET_SUPPORTING_WM_CHECK");
        ASSERT_TRUE(waitFor(20s, [&] { return cardinal(m_connection, m_root, check).has_value(); }))
            << "openbox did not come up";
    }

    // A headless weston with its XWayland: the X server, with weston's own window manager, lives only as
    // long as the compositor.
    void startXWayland()
    {
        // weston needs a runtime folder that only its user may enter; a root session may have none.
        std::string folder = testing::TempDir() + "vorpel-xwayland-XXXXXX";
        ASSERT_TRUE(mkdtemp(folder.data())) << std::strerror(errno);
        m_runtimeDir = folder;
        // X servers make the folder of their sockets themselves; weston's XWayland expects it.
        if (mkdir("/tmp/.X11-unix", 01777) == 0)
            chmod("/tmp/.X11-unix", 01777);
        std::vector<std::string> environment = environmentFor("");
        environment.push_back("XDG_RUNTIME_DIR=" + m_runtimeDir);
        std::string log = m_runtimeDir + "/weston.log";
        ASSERT_TRUE(m_server.start(
            { "weston", "--backend=headless-backend.so", "--xwayland", "--socket=vorpel", "--idle-time=0" },
            environment, log.c_str()));
        // weston takes a free display number for XWayland and names it; XWayland itself starts when the
        // first client connects.
        const std::string listening = "xserver listening on display ";
        std::string display;
        ASSERT_TRUE(waitFor(20s, [&] {
            std::string said = contents(log);
            std::size_t at = said.find(listening);
            if (at == std::string::npos || said.find('\n', at) == std::string::npos)
                return !m_server.running();
            display = said.substr(at + listening.size(), said.find('\n', at) - at - listening.size());
            return true;
        }));
        ASSERT_FALSE(display.empty()) << "weston gave no X display; its log: " << contents(log);
        ASSERT_NO_FATAL_FAILURE(connect(display));
    }

    const std::string& display() const { return m_display; }
    xcb_connection_t* connection() const { return m_connection; }
    xcb_window_t root() const { return m_root; }
    pid_t serverPid() const { return m_server.pid(); }

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

    // The middle half of the window's rows, where the countdown's digits stand, as the server has them;
    // empty when the window cannot be read (gone, unmapped).
    std::vector<std::uint8_t> middleOf(xcb_window_t window) const
    {
        xcb_get_geometry_reply_t* geometry
            = xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr);
        if (!geometry)
            return {};
        std::uint16_t width = geometry->width;
        std::uint16_t height = geometry->height;
        std::free(geometry);
        xcb_get_image_reply_t* image = xcb_get_image_reply(m_connection,
            xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0,
                static_cast<std::int16_t>(height / 4), width, static_cast<std::uint16_t>(height / 2), ~0u),
            nullptr);
        if (!image)
            return {};
        const std::uint8_t* data = xcb_get_image_data(image);
        std::vector<std::uint8_t> result(data, data + xcb_get_image_data_length(image));
        std::free(image);
        return result;
    }

    // Waits until the window shows its digits and then other digits, a tick of the countdown, or until
    // the time is up or stop() holds; says whether it ticked.
    bool waitForTick(xcb_window_t window, Clock::duration limit, const std::function<bool()>& stop) const
    {
        // The digits' pixels, black, then red and dark red on white: blue and green low (a pixel is
        // blue, green, red and a pad byte).
        auto digitsShown = [](const std::vector<std::uint8_t>& pixels) {
            std::size_t dark = 0;
            for (std::size_t i = 0; i + 3 < pixels.size(); i += 4)
                dark += pixels[i] < 80 && pixels[i + 1] < 80;
            return dark > pixels.size() / 4 / 200;
        };
        std::vector<std::uint8_t> first;
        bool ticked = false;
        waitFor(limit, [&] {
            if (stop())
                return true;
            std::vector<std::uint8_t> now = middleOf(window);
            if (!digitsShown(now))
                return false;
            if (first.empty())
                first = std::move(now);
            else
                ticked = now != first;
            return ticked;
        });
        return ticked;
    }

private:
    void connect(const std::string& display)
    {
        m_display = display;
        // Sessions start on threads of their own, and xcb_connect reads the X authority through libXau,
        // whose file name lives in one static buffer: two connects at once may leak or free it twice.
        static std::mutex connecting;
        {
            std::lock_guard<std::mutex> one(connecting);
            m_connection = xcb_connect(m_display.c_str(), nullptr);
        }
        ASSERT_FALSE(xcb_connection_has_error(m_connection)) << "cannot connect to " << m_display;
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    }

    Child m_server;
    Child m_windowManager;
    std::string m_runtimeDir;
    std::string m_display;
    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = XCB_WINDOW_NONE;
};
