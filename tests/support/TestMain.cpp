#include "runtime/RuntimeInit.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    RuntimeInit();
    return RUN_ALL_TESTS();
}
