// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "core/strings.h"

using namespace core;
using namespace std::string_literals;

TEST(Strings, SubstringsClampTheirArguments) {
    const std::string abc = "abc";
    EXPECT_EQ(stringMid(abc, 0, 2), "ab");
    EXPECT_EQ(stringMid(abc, -5, 1), "a");
    EXPECT_EQ(stringMid(abc, 2, 99), "bc");
    EXPECT_EQ(stringMid(abc, 3, 1), "c");
    EXPECT_EQ(stringMid(abc, 4, 2), "");
    EXPECT_EQ(stringMid(abc, 1, -1), "");
    EXPECT_EQ(stringLeft(abc, 5), "abc");
    EXPECT_EQ(stringLeft(abc, -1), "");
    EXPECT_EQ(stringRight(abc, 2), "bc");
    EXPECT_EQ(stringRight(abc, -1), "");
    EXPECT_EQ(stringRight(abc, 7), "abc");
    EXPECT_EQ(stringMid("", 1, 1), "");
}

TEST(Strings, CharacterCodesAreUnsignedBytes) {
    EXPECT_EQ(firstCharCode(""), 0);
    EXPECT_EQ(firstCharCode("\xE9x"), 0xE9);
    EXPECT_EQ(stringFromChar(0x141), "A");
    EXPECT_EQ(stringFromChar(0), std::string(1, '\0'));
    EXPECT_EQ(stringLength(stringFromChar(0)), 1);
    EXPECT_TRUE(stringsEqual("", std::string()));
    EXPECT_FALSE(stringsEqual("a", "a\0"s));
}

TEST(Strings, FormatIntegerGivesPlainDecimal) {
    EXPECT_EQ(formatInteger(0), "0");
    EXPECT_EQ(formatInteger(7), "7");
    EXPECT_EQ(formatInteger(-40), "-40");
    EXPECT_EQ(formatInteger(99999), "99999");
    EXPECT_EQ(formatInteger(std::numeric_limits<int32_t>::min()), "-2147483648");
    EXPECT_EQ(formatInteger(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
    EXPECT_EQ(formatInteger(std::numeric_limits<int64_t>::max()), "9223372036854775807");
}

TEST(Strings, ParseIntegerReadsItsThreeForms) {
    EXPECT_EQ(parseInteger("  -$1F"), -31);
    EXPECT_EQ(parseInteger("\t$ff"), 255);
    EXPECT_EQ(parseInteger("%101"), 5);
    EXPECT_EQ(parseInteger("%102"), 2);
    EXPECT_EQ(parseInteger("12ab"), 12);
    EXPECT_EQ(parseInteger("+42"), 42);
    EXPECT_EQ(parseInteger(""), 0);
    EXPECT_EQ(parseInteger("-"), 0);
    EXPECT_EQ(parseInteger("x12"), 0);
    EXPECT_EQ(parseInteger(" - 5"), 0);
}

TEST(Strings, ParseIntegerWrapsModulo2To64) {
    EXPECT_EQ(parseInteger("18446744073709551616"), 0);  // 2^64
    EXPECT_EQ(parseInteger("18446744073709551617"), 1);
    EXPECT_EQ(parseInteger("9223372036854775808"), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(parseInteger("-9223372036854775808"), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(parseInteger("$FFFFFFFFFFFFFFFF"), -1);
    EXPECT_EQ(parseInteger("$1FFFFFFFFFFFFFFFF"), -1);
    // Round trip through the text form for values near the edges.
    for (int64_t v :
         {std::numeric_limits<int64_t>::min(), int64_t{-1}, int64_t{0}, std::numeric_limits<int64_t>::max()})
        EXPECT_EQ(parseInteger(formatInteger(v)), v);
}
