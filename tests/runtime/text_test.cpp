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

TEST(Text, PiecesNeverHoldPartOfACharacter) {
    const std::string lodz = "\xC5\x81\xC3\xB3"
                             "d\xC5\xBA"; // "Łódź", 7 bytes
    EXPECT_EQ(Len(lodz), 7);
    EXPECT_EQ(Left(lodz, 3), "\xC5\x81"); // the ó would be cut: left out
    EXPECT_EQ(Left(lodz, 4), "\xC5\x81\xC3\xB3");
    EXPECT_EQ(Right(lodz, 1), ""); // the last byte of ź alone
    EXPECT_EQ(Right(lodz, 3), "d\xC5\xBA");
    EXPECT_EQ(Mid(lodz, 2, 3), "\xC3\xB3"); // starts inside Ł, ends inside ó... and on
    EXPECT_EQ(Mid(lodz, 3, 3), "\xC3\xB3"
                               "d");
    EXPECT_EQ(Mid(lodz, -2), "\xC5\xBA");
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

TEST(Text, CaseMappingCoversEveryScriptAndKeepsPositions) {
    EXPECT_EQ(LCase("SubTotal"), "subtotal");
    // A-grave, O-diaeresis, S-caron; L-stroke, A-ogonek; Cyrillic DE; Greek SIGMA.
    EXPECT_EQ(LCase("\xC3\x80\xC3\x96\xC5\xA0"), "\xC3\xA0\xC3\xB6\xC5\xA1");
    EXPECT_EQ(LCase("\xC5\x81\xC4\x84"), "\xC5\x82\xC4\x85");
    EXPECT_EQ(LCase("\xD0\x94\xCE\xA3"), "\xD0\xB4\xCF\x83");
    // The multiplication sign and Chinese have no case.
    EXPECT_EQ(LCase("\xC3\x97\xE7\x8E\x8B"), "\xC3\x97\xE7\x8E\x8B");
    // Capital I with dot becomes a letter of another length: it stays, so a
    // position in the lower case is the same position in the text.
    EXPECT_EQ(LCase("\xC4\xB0X"), "\xC4\xB0x");
    // Bytes that are no UTF-8 stay as they are, and the letters around them
    // are still lower-cased.
    EXPECT_EQ(LCase("A\x81\xC3Z"), "a\x81\xC3z");
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
