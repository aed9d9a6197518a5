#include "runtime/codepage.h"
#include "runtime/utf8.h"

#include <gtest/gtest.h>

namespace plaxet {
namespace {

std::vector<uint32_t> decodeAll(std::string_view text) {
    std::vector<uint32_t> points;
    for (size_t at = 0; at < text.size();) {
        std::optional<uint32_t> c = decodeUtf8(text, at);
        if (!c) break;
        points.push_back(*c);
    }
    return points;
}

} // namespace

TEST(Utf8, RoundTripsEveryLength) {
    std::string text;
    for (uint32_t c : {0x41u, 0xE9u, 0x20ACu, 0x1F600u}) appendUtf8(text, c);
    EXPECT_EQ(text, "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(decodeAll(text), (std::vector<uint32_t>{0x41, 0xE9, 0x20AC, 0x1F600}));
    EXPECT_EQ(codePointName(0xE9), "U+00E9");
}

TEST(Utf8, RefusesMalformedSequences) {
    size_t at = 0;
    EXPECT_FALSE(decodeUtf8("\xC0\xAF", at));         // overlong
    EXPECT_FALSE(decodeUtf8("\xED\xA0\x80", at));     // surrogate
    EXPECT_FALSE(decodeUtf8("\xE2\x82", at));         // cut short
    EXPECT_FALSE(decodeUtf8("\x80", at));             // stray continuation
    EXPECT_FALSE(decodeUtf8("\xF4\x90\x80\x80", at)); // beyond U+10FFFF
    EXPECT_FALSE(decodeUtf8("", at));
    EXPECT_EQ(at, 0u);
}

TEST(CodePage1252, MapsBothWaysAndKnowsItsGaps) {
    EXPECT_EQ(cp1252CodePoint(0x80), 0x20ACu);
    EXPECT_EQ(cp1252CodePoint(0xE9), 0xE9u);
    EXPECT_EQ(cp1252CodePoint(0x81), 0x81u); // unassigned: stands for itself
    EXPECT_EQ(cp1252Byte(0x20AC), std::optional<unsigned char>(0x80));
    EXPECT_EQ(cp1252Byte(0x9F), std::nullopt); // a C1 control, not in the page
    EXPECT_EQ(cp1252Byte(0x0100), std::nullopt);
    EXPECT_EQ(cp1252Byte(0xFFFD), std::nullopt);
    for (int byte = 0; byte < 256; ++byte) {
        const uint32_t c = cp1252CodePoint(static_cast<unsigned char>(byte));
        EXPECT_EQ(cp1252Byte(c), static_cast<unsigned char>(byte)) << byte;
    }
}

// "Dąbrowski", "王芳" and "Café €" in UTF-8.
const std::string kDabrowski = "D\xC4\x85"
                               "browski";
const std::string kWangFang = "\xE7\x8E\x8B\xE8\x8A\xB3";
const std::string kCafe = "Caf\xC3\xA9 \xE2\x82\xAC";

TEST(CodePage, ConvertsWhatFitsExactlyAndTheRestToItsNearestText) {
    if (codePageInUse() != 1252) GTEST_SKIP() << "the code page in use is not 1252";
    const CodePageText cafe = toCodePage(kCafe);
    EXPECT_TRUE(cafe.exact);
    EXPECT_EQ(cafe.bytes, "Caf\xE9 \x80");
    EXPECT_EQ(fromCodePage(cafe.bytes), kCafe);

    const CodePageText polish = toCodePage(kDabrowski);
    EXPECT_FALSE(polish.exact);
    EXPECT_EQ(polish.bytes, "Dabrowski");
    const CodePageText chinese = toCodePage(kWangFang);
    EXPECT_FALSE(chinese.exact);
    EXPECT_EQ(chinese.bytes, "??");

    // Every byte string makes the round trip, unassigned bytes included.
    std::string everyByte;
    for (int byte = 0; byte < 256; ++byte) everyByte += static_cast<char>(byte);
    const std::string utf8 = fromCodePage(everyByte);
    EXPECT_TRUE(isValidUtf8(utf8));
    const CodePageText back = toCodePage(utf8);
    EXPECT_TRUE(back.exact);
    EXPECT_EQ(back.bytes, everyByte);
}

TEST(CodePage, AnotherCodePageHoldsItsOwnLetters) {
    const uint32_t previous = codePageInUse();
    if (!useCodePage(1250)) GTEST_SKIP() << "code page 1250 cannot be converted here";
    const CodePageText polish = toCodePage(kDabrowski);
    const CodePageText cafe = toCodePage(kCafe);
    const std::string polishBack = fromCodePage(polish.bytes);
    ASSERT_TRUE(useCodePage(previous));
    EXPECT_TRUE(polish.exact);
    EXPECT_EQ(polish.bytes, "D\xB9"
                            "browski");
    EXPECT_EQ(polishBack, kDabrowski);
    EXPECT_TRUE(cafe.exact);
    EXPECT_EQ(cafe.bytes, "Caf\xE9 \x80");
    EXPECT_FALSE(useCodePage(1)) << "no code page has the number 1";
}

TEST(Utf8, PositionsInUtf16Units) {
    const std::string text = "a\xC3\xA9\xF0\x9F\x98\x80z"; // a, é, an emoji (two units), z
    EXPECT_EQ(utf16Offset(text, 0), 0u);
    EXPECT_EQ(utf16Offset(text, 3), 2u);
    EXPECT_EQ(utf16Offset(text, 7), 4u);
    EXPECT_EQ(utf16Offset(text, 8), 5u);
    EXPECT_EQ(byteOffsetOfUtf16(text, 2), 3u);
    EXPECT_EQ(byteOffsetOfUtf16(text, 3), 3u); // inside the emoji: its start
    EXPECT_EQ(byteOffsetOfUtf16(text, 4), 7u);
    EXPECT_EQ(byteOffsetOfUtf16(text, 9), 8u);
}

} // namespace plaxet
