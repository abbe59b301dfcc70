#include "RGB.h"

#include <algorithm>

namespace {
std::uint8_t component(std::int32_t value)
{
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}
} // namespace

Color RuntimeRGBA(std::int32_t red, std::int32_t green, std::int32_t blue, std::int32_t alpha)
{
    return Color { component(red), component(green), component(blue), component(alpha) };
}

Color RGB(std::int32_t red, std::int32_t green, std::int32_t blue, std::int32_t alpha)
{
    return RuntimeRGBA(red, green, blue, alpha);
}
