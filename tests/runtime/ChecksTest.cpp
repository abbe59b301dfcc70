#include "runtime/MainThread.h"
#include "runtime/RuntimeException.h"
#include "runtime/StackCheck.h"

#include <gtest/gtest.h>
#include <string>
#include <thread>

TEST(UITrap, PassesOnTheMainThreadAndRaisesTheExactMessageElsewhere)
{
    EXPECT_NO_THROW(UITrap_());
    std::string className;
    std::string message;
    std::thread other([&] {
        try {
            UITrap_();
        } catch (const RaisedException& raised) {
            className = std::string(raised.exception().classTable()->nameView());
            message = std::string(raised.exception().Message->bytes());
        }
    });
    other.join();
    EXPECT_EQ(className, "ThreadAccessingUIException");
    EXPECT_EQ(message,
        "A thread has attempted to manipulate a user interface element. This can only be done from the "
        "application's main thread.");
}

namespace {
// Ends only through the stack check (the limit is far beyond any stack).
int recurse(long depth)
{
    RuntimeStackCheck();
    volatile char frame[512] = {};
    frame[0] = static_cast<char>(depth);
    if (depth > 1'000'000'000L)
        return frame[0];
    return recurse(depth + 1) + frame[0];
}
} // namespace

TEST(StackCheck, DeepRecursionRaisesInsteadOfCrashing)
{
    auto run = [] {
        try {
            recurse(0);
        } catch (const RaisedException& raised) {
            return raised.is<StackOverflowException>();
        }
        return false;
    };
    EXPECT_TRUE(run());
    // A thread with a small stack of its own is guarded as well.
    bool onThread = false;
    std::thread small([&] { onThread = run(); });
    small.join();
    EXPECT_TRUE(onThread);
}
