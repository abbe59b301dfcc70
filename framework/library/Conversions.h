#pragma once

#include <cstdint>

// Exact: every 32-bit integer is a double.
double RuntimeCvtSInt32ToReal64(std::int32_t value);
