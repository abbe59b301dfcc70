#include "runtime/Object.h"
#include "runtime/RuntimeException.h"

#include <gtest/gtest.h>

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
