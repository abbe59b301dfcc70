#pragma once

#include <cstdint>

// A colour value: red, green and blue of 0 to 255 and a fourth component, kept as given.
struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 0;
    bool operator==(const Color&) const = default;
};
