#pragma once

#include "platforms/headless/HeadlessPlatform.h"

// The one headless platform every benchmark runs on, set up by main.
HeadlessPlatform& benchPlatform();
