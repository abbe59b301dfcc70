#pragma once

#include "library/Startup.h"
#include "platforms/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

// A fresh class library on the headless platform for each test; every window is closed afterwards.
class HeadlessTest : public testing::Test {
protected:
    void SetUp() override
    {
        RuntimeLibraryInitialize();
        RuntimeSetPlatform(&platform);
    }
    void TearDown() override
    {
        RuntimeLibraryFinalize();
        RuntimeSetPlatform(nullptr);
    }
    HeadlessPlatform platform;
};
