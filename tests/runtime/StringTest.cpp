#include "runtime/String.h"

#include <gtest/gtest.h>

TEST(String, KeepsEveryByteExactly)
{
    const std::string bytes("Index \x80\x00\x00\x00 BackColor \xFF\xFF\xFF", 24);
    Ref<String> string = String::create(bytes);
    EXPECT_EQ(string->length(), 24u);
    EXPECT_EQ(string->bytes(), bytes);
    EXPECT_EQ(string->encoding(), TextEncoding::UTF8);
}

TEST(String, AddJoinsBytesAndTreatsNilAsEmpty)
{
    Ref<String> prefix = "00:"_s;
    Ref<String> digits = String::create(std::string_view("0\0", 2));
    EXPECT_EQ(RuntimeAddString(prefix.ptr(), digits.ptr())->bytes(), std::string_view("00:0\0", 5));
    EXPECT_EQ(RuntimeAddString(nullptr, prefix.ptr())->bytes(), "00:");
    EXPECT_EQ(RuntimeAddString(nullptr, nullptr)->length(), 0u);
    EXPECT_EQ(prefix->refCount(), 1u);
}

TEST(String, CountsLiveStrings)
{
    std::size_t before = RuntimeLiveStringCount();
    {
        Ref<String> a = u8"ボルペル"_s;
        EXPECT_EQ(a->length(), 12u);
        EXPECT_EQ(RuntimeLiveStringCount(), before + 1);
    }
    EXPECT_EQ(RuntimeLiveStringCount(), before);
}
