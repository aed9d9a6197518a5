#include "runtime/text.h"

#include <gtest/gtest.h>

namespace plaxet {

TEST(Text, MidLeftAndRightCountBytesFromOne) {
    EXPECT_EQ(Mid("abc", -1, 1), "c");
    EXPECT_EQ(Mid("abc", 0, 2), "");
    EXPECT_EQ(Mid("abc", 2), "bc");
    EXPECT_EQ(Mid("abc", 2, 99), "bc");
    EXPECT_EQ(Mid("abc", 4, 1), "");
    EXPECT_EQ(Mid("abc", -5, 1), "");
    EXPECT_EQ(Left("abc", 2), "ab");
    EXPECT_EQ(Right("abc", 2), "bc");
    EXPECT_EQ(Right("abc", 5), "abc");
    EXPECT_EQ(Len(std::string("a\0b", 3)), 3);
}

TEST(Text, InStrFindsFromAStartThatMayCountFromTheEnd) {
    EXPECT_EQ(InStr(1, "abcabc", "bc"), 2);
    EXPECT_EQ(InStr(3, "abcabc", "bc"), 5);
    EXPECT_EQ(InStr(-2, "abcabc", "bc"), 5);
    EXPECT_EQ(InStr(1, "abc", "x"), 0);
    EXPECT_EQ(InStr(0, "abc", "a"), 0);
    EXPECT_EQ(InStr(1, "", "a"), 0);
    EXPECT_EQ(InStr(2, "abc", ""), 2);
    EXPECT_EQ(InStr(9, "abc", "a"), 0);
}

TEST(Text, InStrAnySearchesForwardsOrBackwards) {
    EXPECT_EQ(InStrAny(-1, "a,b;c", ",;"), 4);
    EXPECT_EQ(InStrAny(1, "a,b;c", ",;"), 2);
    EXPECT_EQ(InStrAny(3, "a,b;c", ",;"), 4);
    EXPECT_EQ(InStrAny(-3, "a,b;c", ",;"), 2);
    EXPECT_EQ(InStrAny(0, "a,b;c", ",;"), 0);
    EXPECT_EQ(InStrAny(1, "abc", ",;"), 0);
}

TEST(Text, ParseSplitsIntoFields) {
    EXPECT_EQ(ParseCountAny("1-5/07", "-/"), 3);
    EXPECT_EQ(ParseAny("Tax (8.25%)", ",()", 2), "8.25%");
    EXPECT_EQ(ParseAny("tax, 6 %", ",()", 2), " 6 %");
    EXPECT_EQ(ParseAny("tax 5%", ",()", 2), "");
    EXPECT_EQ(ParseAny("a-b/c", "-/", -2), "b");
    EXPECT_EQ(ParseAll("a\r\nb\r\n", "\r\n"), (std::vector<std::string>{"a", "b", ""}));
}

TEST(Text, TrimmingTouchesSpacesOnly) {
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Trim(" \ta \t  "), "\ta \t");
}

TEST(Text, Removing) {
    EXPECT_EQ(Remove("a--b--c", "--"), "abc");
    EXPECT_EQ(Remove("abc", ""), "abc");
}

TEST(Text, CaseMappingFollowsTheAnsiCodePage) {
    EXPECT_EQ(LCase("SubTotal"), "subtotal");
    // Western European letters of code page 1252: A-grave, O-diaeresis, S-caron.
    EXPECT_EQ(LCase("\xC0\xD6\x8A"), "\xE0\xF6\x9A");
    // The multiplication sign has no case.
    EXPECT_EQ(LCase("\xD7"), "\xD7");
    // Bytes without a character in the code page stay as they are, and the
    // letters around them are still lower-cased.
    EXPECT_EQ(LCase("A\x81\x8D\x8F\x90\x9DZ"), "a\x81\x8D\x8F\x90\x9Dz");
    EXPECT_EQ(LCase(""), "");
}

TEST(Text, CompareIsBytewiseWithShorterPrefixFirst) {
    EXPECT_LT(Compare("ab", "abc"), 0);
    EXPECT_GT(Compare("b", "abc"), 0);
    EXPECT_LT(Compare("B", "a"), 0);
    EXPECT_GT(Compare("\xE0", "z"), 0);
    EXPECT_EQ(Compare("x", "x"), 0);
}

} // namespace plaxet
