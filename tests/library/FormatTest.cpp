#include "library/Format.h"
#include "library/Conversions.h"
#include "library/RGB.h"
#include "runtime/RuntimeException.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

std::string format(double value, const char* pattern)
{
    Ref<String> text = Format(value, String::create(pattern).ptr());
    return std::string(text->bytes());
}

} // namespace

TEST(Format, TwoZeroPlaceholdersGiveTwoDigitsForEverySecondOfAMinute)
{
    for (int second = 0; second < 60; ++second) {
        std::string expected = { static_cast<char>('0' + second / 10), static_cast<char>('0' + second % 10) };
        EXPECT_EQ(format(RuntimeCvtSInt32ToReal64(second), "00"), expected);
    }
}

TEST(Format, LaysOutTheNumberByThePattern)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double value;
        const char* pattern;
        const char* expected;
    };
    const Case cases[] = {
        // Integer placeholders: "0" pads, "#" only where significant, overflow is never cut.
        { 5, "00", "05" },
        { 123, "00", "123" },
        { 5, "000", "005" },
        { 0, "0", "0" },
        { 0, "#", "" },
        { 1234, "#", "1234" },
        { 5, "#0", "5" },
        { 5, "0#", "05" },
        { 1e20, "0", "100000000000000000000" },
        // Grouping.
        { 1234567, "#,##0", "1,234,567" },
        { 123, "#,##0", "123" },
        { 1000, "#,#", "1,000" },
        { 123456789012, "#,##0", "123,456,789,012" },
        { 1234.5, "#,##0.00", "1,234.50" },
        { 0, "#,##0.00", "0.00" },
        // Fractions, rounded half away from zero on the number as written.
        { 3.14159, "0.00", "3.14" },
        { 2.675, "0.00", "2.68" },
        { 0.5, "0", "1" },
        { 1.5, "0", "2" },
        { 2.5, "0", "3" },
        { 9.995, "0.00", "10.00" },
        { 99.5, "00", "100" },
        { 0.999, "0.00", "1.00" },
        { 0.125, "0.##", "0.13" },
        { 1.5, "0.##", "1.5" },
        { 1, "0.##", "1." },
        { 1.5, "0.0#", "1.5" },
        { 0.5, "#.##", ".5" },
        { 12, ".00", "12.00" },
        { 0.5, ".00", ".50" },
        { 0.000001, "0.00", "0.00" },
        { 1e-300, "0.00", "0.00" },
        // Negatives: a sign unless rounding leaves zero.
        { -5, "00", "-05" },
        { -0.5, "0", "-1" },
        { -2.5, "0", "-3" },
        { -0.005, "0.00", "-0.01" },
        { -0.004, "0.00", "0.00" },
        { -0.4, "#", "" },
        { -0.0, "0", "0" },
        { -1234.5, "#,##0.0", "-1,234.5" },
        { -0.5, "#.0", "-.5" },
        { -5, "\"T\"00", "T-05" },
        // Literal text: quoted, escaped, or any other character, left in place.
        { 5, "\"T-\"00", "T-05" },
        { 5, "\\#0", "#5" },
        { 5, "0\\", "5\\" },
        { 5, "0\"x", "5x" },
        { 5, "\"0#.,\\\"0", "0#.,\\5" },
        { 125, "0:00", "1:25" },
        { 12.345, "0.0 \"s\"", "12.3 s" },
        { 5, "0%", "5%" },
        { 1.25, "0.0.0", "1.2.5" },
        { 1234, "0.0,0", "1234.0,0" },
        { 5, "0秒", "5秒" },
        { 7, "x", "x" },
        // Values without digits.
        { std::nan(""), "00", "NaN" },
        { inf, "00", "INF" },
        { -inf, "#,##0.00", "-INF" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(format(c.value, c.pattern), c.expected) << c.value << " as \"" << c.pattern << "\"";
}

TEST(Format, NilOrEmptyPatternGivesTheShortestDecimalForm)
{
    struct Case {
        double value;
        const char* expected;
    };
    const Case cases[] = {
        { 5, "5" },
        { 0.1, "0.1" },
        { -2.5, "-2.5" },
        { 1234567, "1234567" },
        { 1e21, "1e+21" },
        { -0.0, "0" },
        { std::nan(""), "NaN" },
        { -std::numeric_limits<double>::infinity(), "-INF" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Format(c.value, nullptr)->bytes(), c.expected) << c.value;
        EXPECT_EQ(format(c.value, ""), c.expected) << c.value;
    }
}

TEST(Format, OnlySeparatorsAsWrittenAreSupported)
{
    Ref<String> pattern = String::create("#,##0.00");
    EXPECT_EQ(StringFormat(1234.5, pattern.ptr(), kFormatSeparatorsAsWritten)->bytes(), "1,234.50");
    for (std::int32_t flags : { 0, 2, 3, -1 }) {
        try {
            StringFormat(1234.5, pattern.ptr(), flags);
            ADD_FAILURE() << "flags " << flags << " accepted";
        } catch (const RaisedException& raised) {
            EXPECT_TRUE(raised.is<UnsupportedOperationException>()) << raised.what();
        }
    }
}

TEST(ValueFunctions, RGBClampsEachComponentAndKeepsTheirOrder)
{
    constexpr std::int32_t low = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t high = std::numeric_limits<std::int32_t>::max();
    struct Case {
        std::int32_t red, green, blue, alpha;
        Color expected;
    };
    const Case cases[] = {
        { 10, 20, 30, 40, { 10, 20, 30, 40 } },
        { 0, 255, 0, 255, { 0, 255, 0, 255 } },
        { -1, 256, 300, -300, { 0, 255, 255, 0 } },
        { low, high, 128, high, { 0, 255, 128, 255 } },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RGB(c.red, c.green, c.blue, c.alpha), c.expected)
            << c.red << " " << c.green << " " << c.blue;
        EXPECT_EQ(RuntimeRGBA(c.red, c.green, c.blue, c.alpha), c.expected);
    }
}

TEST(ValueFunctions, SInt32ToReal64IsExactAtTheLimits)
{
    EXPECT_EQ(RuntimeCvtSInt32ToReal64(std::numeric_limits<std::int32_t>::min()), -2147483648.0);
    EXPECT_EQ(RuntimeCvtSInt32ToReal64(std::numeric_limits<std::int32_t>::max()), 2147483647.0);
    EXPECT_EQ(RuntimeCvtSInt32ToReal64(-1), -1.0);
}
