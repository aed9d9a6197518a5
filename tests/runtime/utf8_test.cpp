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
    EXPECT_EQ(cp1252CodePoint(0x81), 0xFFFDu);
    EXPECT_EQ(cp1252Byte(0x20AC), std::optional<unsigned char>(0x80));
    EXPECT_EQ(cp1252Byte(0x9F), std::nullopt); // a C1 control, not in the page
    EXPECT_EQ(cp1252Byte(0x0100), std::nullopt);
    EXPECT_EQ(cp1252Byte(0xFFFD), std::nullopt);
    for (int byte = 0; byte < 256; ++byte) {
        const uint32_t c = cp1252CodePoint(static_cast<unsigned char>(byte));
        if (c == 0xFFFD) continue;
        EXPECT_EQ(cp1252Byte(c), static_cast<unsigned char>(byte)) << byte;
    }
}

} // namespace plaxet
