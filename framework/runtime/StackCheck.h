#pragma once

#include <cstddef>

// Raises StackOverflowException when the calling thread's stack has less than the margin left, so deep
// recursion ends in an exception instead of a crash.
void RuntimeStackCheck();

// Bytes kept free below the check, enough to raise and unwind the exception.
inline constexpr std::size_t kStackSafetyMargin = 256 * 1024;
