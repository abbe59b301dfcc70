#pragma once

#include "runtime/Color.h"

#include <cstdint>

// A colour from four components, each clamped to 0..255.
Color RuntimeRGBA(std::int32_t red, std::int32_t green, std::int32_t blue, std::int32_t alpha);
Color RGB(std::int32_t red, std::int32_t green, std::int32_t blue, std::int32_t alpha);
