#include "support/ProbeClasses.h"

#include "runtime/FaultInjection.h"
#include "runtime/MainThread.h"
#include "runtime/RuntimeException.h"

#include <gtest/gtest.h>

TEST(FaultInjection, TheArmedCallRaisesOnceAndOnlyIt)
{
    RuntimeSetFaultInjection(3);
    EXPECT_NO_THROW(UITrap_());
    EXPECT_NO_THROW(newObject<probe::Base>());
    try {
        UITrap_();
        FAIL() << "the third call ran";
    } catch (const RaisedException& raised) {
        EXPECT_STREQ(raised.what(), "RuntimeException: injected fault");
    }
    EXPECT_NO_THROW(UITrap_()) << "the switch disarms itself";
    EXPECT_EQ(RuntimeFaultInjectionCalls(), 3u);
    RuntimeSetFaultInjection(0);
}
