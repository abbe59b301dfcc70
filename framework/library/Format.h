#pragma once

#include "runtime/String.h"

#include <cstdint>

// Flag bit of StringFormat: the format's "." and "," are used as written, not as stand-ins for a
// locale's separators. Every other bit is reserved.
inline constexpr std::int32_t kFormatSeparatorsAsWritten = 1;

// The number laid out by the format language of docs/format.md. A nil or empty format gives the
// number's shortest decimal form. Flags other than kFormatSeparatorsAsWritten raise
// UnsupportedOperationException.
Ref<String> StringFormat(double value, String* format, std::int32_t flags);
Ref<String> Format(double value, String* format);
