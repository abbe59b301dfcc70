// The real program on the desktop platform, on Xvfbs of its own with openbox, its n-th framework call
// failing (VORPEL_FAULT_AT) for every n of a whole run: start-up, a tick, a key, Ctrl+Q and shut-down, a
// user playing them from outside with xdotool. Wherever the failure strikes, the run ends by itself with
// one line naming it and status 1; a run that ended before its n-th call is silent with status 0.

#include "support/X11Session.h"

#include <algorithm>
#include <limits>
#include <mutex>
#include <sstream>
#include <tuple>

namespace {
struct Kind {
    const char* name;
    const char* armed; // what follows n in VORPEL_FAULT_AT
    const char* report;
};
const Kind kKinds[] = {
    { "a runtime exception", "", "Unhandled RuntimeException: injected fault\n" },
    { "a foreign exception", ",foreign",
        "Unhandled RuntimeException: C++ exception std::runtime_error: injected fault\n" },
};

struct Outcome {
    std::size_t kind = 0;
    std::uint64_t n = 0;
    std::string trouble; // the session or the play went wrong, not the program
    bool ticked = false; // the window came and ticked
    bool played = false; // and the keys were sent
    std::optional<int> status;
    std::string output;
    std::optional<std::uint64_t> calls; // framework calls since the switch was armed, from the program
};

// The keys a user types, through the X server's test extension as real ones come.
bool type(const X11Session& session, const char* keys)
{
    Child tool;
    if (!tool.start({ "xdotool", "key", keys }, environmentFor(session.display())))
        return false;
    std::optional<int> status = tool.waitExit(10s);
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

// One run failing at call n: the window, a tick, a key and Ctrl+Q, as far as the program still runs.
Outcome runFailingAt(const X11Session& session, std::size_t kind, std::uint64_t n, const std::string& files)
{
    Outcome outcome;
    outcome.kind = kind;
    outcome.n = n;
    std::string output = files + ".txt";
    std::string calls = files + ".calls";
    std::remove(calls.c_str());
    std::vector<std::string> environment = programEnvironment(session.display());
    environment.push_back("VORPEL_FAULT_AT=" + std::to_string(n) + kKinds[kind].armed);
    environment.push_back("VORPEL_FAULT_CALLS_FILE=" + calls);
    Child program;
    if (!program.start({ VORPEL_PROGRAM }, environment, output.c_str())) {
        outcome.trouble = "the program did not start";
        return outcome;
    }
    auto ended = [&] { return !program.running(); };
    std::vector<xcb_window_t> windows;
    // Under AddressSanitizer start-up alone takes seconds.
    waitFor(60s, [&] {
        windows = session.windowsOf(program.pid());
        return !windows.empty() || ended();
    });
    if (windows.size() == 1) {
        xcb_window_t window = windows.front();
        outcome.ticked = session.waitForTick(window, 10s, ended);
        // The keys go to the focused window, which openbox makes the new one.
        xcb_atom_t active = atom(session.connection(), "_NET_ACTIVE_WINDOW");
        waitFor(
            10s, [&] { return ended() || cardinal(session.connection(), session.root(), active) == window; });
        if (!ended()) {
            outcome.played = type(session, "a") && type(session, "ctrl+q");
            if (!outcome.played)
                outcome.trouble = "xdotool could not type";
        }
    }
    outcome.status = program.waitExit(30s);
    outcome.output = contents(output);
    std::uint64_t count = 0;
    if (std::ifstream in(calls); in >> count)
        outcome.calls = count;
    std::remove(output.c_str());
    std::remove(calls.c_str());
    return outcome;
}

// The runs still to make: n = 1, 2, ... for each kind, up to a few past the first n that its run did not
// reach. Several sessions take from it at once.
class Walk {
public:
    // The next run, kinds in turn; false when the walk is done.
    bool take(std::size_t& kind, std::uint64_t& n)
    {
        std::lock_guard lock(m_mutex);
        for (std::size_t tried = 0; tried < std::size(kKinds); ++tried) {
            std::size_t k = m_turn++ % std::size(kKinds);
            if (m_next[k] <= m_last[k] && m_failures < kEnoughFailures) {
                kind = k;
                n = m_next[k]++;
                return true;
            }
        }
        return false;
    }

    void report(Outcome outcome, bool failed)
    {
        std::lock_guard lock(m_mutex);
        // How many calls a run makes varies with its ticks; a few more n make sure of the end.
        if (outcome.calls && *outcome.calls < outcome.n)
            m_last[outcome.kind] = std::min(m_last[outcome.kind], outcome.n + 5);
        m_failures += failed;
        m_outcomes.push_back(std::move(outcome));
    }

    std::vector<Outcome> outcomes()
    {
        std::lock_guard lock(m_mutex);
        std::sort(m_outcomes.begin(), m_outcomes.end(),
            [](const Outcome& a, const Outcome& b) { return std::tie(a.kind, a.n) < std::tie(b.kind, b.n); });
        return m_outcomes;
    }

private:
    // Past these the walk has shown what is wrong; the rest would only take time.
    static constexpr std::size_t kEnoughFailures = 40;

    std::mutex m_mutex;
    std::size_t m_turn = 0;
    std::uint64_t m_next[std::size(kKinds)] = { 1, 1 };
    std::uint64_t m_last[std::size(kKinds)]
        = { std::numeric_limits<std::uint64_t>::max(), std::numeric_limits<std::uint64_t>::max() };
    std::size_t m_failures = 0;
    std::vector<Outcome> m_outcomes;
};

// What is wrong with a run, or nothing. A finaliser's report names the finalised class rather than the
// unhandled exception.
std::string fault(const Outcome& outcome)
{
    std::ostringstream said;
    if (!outcome.trouble.empty())
        return outcome.trouble;
    if (!outcome.status)
        said << "it did not end by itself";
    else if (!WIFEXITED(*outcome.status))
        said << "it was ended by signal " << WTERMSIG(*outcome.status);
    else if (!outcome.calls)
        said << "it wrote no count of its calls";
    else if (*outcome.calls < outcome.n) {
        if (WEXITSTATUS(*outcome.status) != 0 || !outcome.output.empty())
            said << "it made " << *outcome.calls << " calls only, yet status "
                 << WEXITSTATUS(*outcome.status);
    } else {
        const std::string& text = outcome.output;
        bool oneLine = std::count(text.begin(), text.end(), '\n') == 1 && text.ends_with('\n');
        bool named = text == kKinds[outcome.kind].report
            || (text.starts_with("Exception in finaliser of ")
                && text.find("injected fault") != std::string::npos
                && text.find("injected fault") == text.rfind("injected fault"));
        if (WEXITSTATUS(*outcome.status) != 1 || !oneLine || !named)
            said << "the fault fired, then status " << WEXITSTATUS(*outcome.status)
                 << (oneLine && named ? "" : " without one line naming it");
    }
    if (said.tellp() == 0)
        return {};
    if (outcome.played)
        said << (outcome.ticked ? " after a tick, a key and Ctrl+Q" : " after a key and Ctrl+Q");
    said << "; its output: [" << outcome.output << "]";
    return said.str();
}
} // namespace

TEST(FaultWalkOnX11, AFailureAtAnyCallOfARunIsOneLineAndStatusOne)
{
    constexpr std::size_t kSessions = 5;
    Walk walk;
    std::vector<std::thread> workers;
    for (std::size_t s = 0; s < kSessions; ++s) {
        workers.emplace_back([&walk, s] {
            X11Session session;
            session.start(true);
            if (testing::Test::HasFatalFailure())
                return;
            std::string files = testing::TempDir() + "vorpel-fault-walk-" + std::to_string(getpid()) + "-"
                + std::to_string(s);
            std::size_t kind = 0;
            std::uint64_t n = 0;
            while (walk.take(kind, n)) {
                Outcome outcome = runFailingAt(session, kind, n, files);
                bool failed = !fault(outcome).empty();
                walk.report(std::move(outcome), failed);
            }
        });
    }
    for (std::thread& worker : workers)
        worker.join();
    ASSERT_FALSE(testing::Test::HasFatalFailure());

    std::uint64_t reached[std::size(kKinds)] = {};
    for (const Outcome& outcome : walk.outcomes()) {
        if (std::string wrong = fault(outcome); !wrong.empty())
            ADD_FAILURE() << kKinds[outcome.kind].name << " at call " << outcome.n << ": " << wrong;
        if (outcome.calls && *outcome.calls >= outcome.n)
            reached[outcome.kind] = std::max(reached[outcome.kind], outcome.n);
    }
    // Start-up alone makes more calls than this; a program that ended early of itself (no display, say)
    // would end the walk there too.
    for (std::size_t kind = 0; kind < std::size(kKinds); ++kind)
        EXPECT_GT(reached[kind], 100u) << kKinds[kind].name << ": the walk ended early";
}
