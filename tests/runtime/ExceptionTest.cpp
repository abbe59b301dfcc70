#include "runtime/Object.h"
#include "runtime/RuntimeException.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

TEST(Exceptions, CatchByRuntimeClassMatchesSubclasses)
{
    struct Case {
        const ClassTable* raised;
        const ClassTable* caught;
        bool matches;
    };
    const Case cases[] = {
        { NilObjectException::lookup(), RuntimeException::lookup(), true },
        { NilObjectException::lookup(), NilObjectException::lookup(), true },
        { StackOverflowException::lookup(), RuntimeException::lookup(), true },
        { RuntimeException::lookup(), NilObjectException::lookup(), false },
        { IllegalCastException::lookup(), NilObjectException::lookup(), false },
    };
    for (const Case& c : cases) {
        try {
            RuntimeRaise(c.raised, "m");
        } catch (const RaisedException& raised) {
            EXPECT_EQ(raised.is(c.caught), c.matches)
                << c.raised->nameView() << " as " << c.caught->nameView();
        }
    }
}

TEST(Exceptions, CarrierHoldsTheExceptionAndReraiseKeepsIt)
{
    std::size_t before = RuntimeLiveObjectCount();
    RuntimeException* first = nullptr;
    try {
        try {
            RuntimeRaise(NilObjectException::lookup(), "inner");
        } catch (const RaisedException& raised) {
            first = &raised.exception();
            EXPECT_EQ(first->Message->bytes(), "inner");
            RuntimeReraiseException(raised.exception());
        }
    } catch (const RaisedException& again) {
        EXPECT_EQ(&again.exception(), first);
        EXPECT_STREQ(again.what(), "NilObjectException: inner");
    }
    EXPECT_EQ(RuntimeLiveObjectCount(), before) << "the exception object goes with its last carrier";
}

// Whatever is being handled comes out as one runtime exception: a raised one as itself, a foreign C++
// exception wrapped with its type and what it says.
TEST(Exceptions, CaughtExceptionTakesEveryKindOfThrow)
{
    struct Case {
        const char* name;
        void (*raise)();
        const char* className;
        const char* message;
    };
    const Case cases[] = {
        { "raised", [] { RuntimeRaise(NilObjectException::lookup(), "inner"); }, "NilObjectException", "inner" },
        { "std::exception", [] { throw std::runtime_error("boom"); }, "RuntimeException",
            "C++ exception std::runtime_error: boom" },
        { "what() is the type", [] { throw std::bad_alloc(); }, "RuntimeException", "C++ exception std::bad_alloc" },
        { "not an exception class", [] { throw 42; }, "RuntimeException", "C++ exception int" },
    };
    std::size_t before = RuntimeLiveObjectCount();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RefPtr<RuntimeException> caught;
        try {
            c.raise();
        } catch (...) {
            caught = RuntimeCaughtException();
        }
        ASSERT_TRUE(caught);
        EXPECT_EQ(caught->classTable()->nameView(), c.className);
        EXPECT_EQ(caught->Message->bytes(), c.message);
    }
    EXPECT_EQ(RuntimeLiveObjectCount(), before);
}
