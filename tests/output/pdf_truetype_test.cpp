// The font reader for the PDF's embedded font, on fonts built here in memory:
// a small good font, and hostile ones whose counts, ranges, names or tables
// would make it hang or write a font no PDF reader can load.
#include "output/pdf/font_choice.h"
#include "output/pdf/truetype.h"

#include "runtime/binary.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace plaxet {
namespace {

using Tables = std::map<std::string, std::string>;

std::string bigEndian(std::initializer_list<uint16_t> values) {
    std::string out;
    for (const uint16_t value : values) putBigEndianUInt16(out, value);
    return out;
}

// A format 4 map of the given segments (first, last, delta), with no glyph list.
std::string format4Map(const std::vector<std::array<uint16_t, 3>>& segments) {
    const auto count = static_cast<uint16_t>(segments.size());
    std::string map = bigEndian({4, 0, 0, static_cast<uint16_t>(2 * count), 0, 0, 0});
    for (const auto& segment : segments) putBigEndianUInt16(map, segment[1]);
    putBigEndianUInt16(map, 0);
    for (const auto& segment : segments) putBigEndianUInt16(map, segment[0]);
    for (const auto& segment : segments) putBigEndianUInt16(map, segment[2]);
    for (size_t s = 0; s < segments.size(); ++s) putBigEndianUInt16(map, 0);
    return map;
}

// A format 12 map of the given groups (first, last, glyph of first).
std::string format12Map(const std::vector<std::array<uint32_t, 3>>& groups) {
    std::string map = bigEndian({12, 0});
    putBigEndianUInt32(map, static_cast<uint32_t>(16 + 12 * groups.size()));
    putBigEndianUInt32(map, 0);
    putBigEndianUInt32(map, static_cast<uint32_t>(groups.size()));
    for (const auto& group : groups)
        for (const uint32_t value : group) putBigEndianUInt32(map, value);
    return map;
}

// A character map table holding one subtable for Windows' Unicode encoding.
std::string characterMap(uint16_t encoding, const std::string& subtable) {
    std::string cmap = bigEndian({0, 1, 3, encoding});
    putBigEndianUInt32(cmap, 12);
    return cmap + subtable;
}

// A name table with the PostScript name in Macintosh bytes.
std::string nameTable(const std::string& postScriptName) {
    return bigEndian({0, 1, 18, 1, 0, 0, 6, static_cast<uint16_t>(postScriptName.size()), 0}) +
           postScriptName;
}

// Three glyphs: the missing glyph (empty), a triangle, and a composite of
// the triangle; 'A' shows the triangle, 'B' the composite.
Tables goodFont() {
    std::string head = bigEndian({1, 0, 1, 0, 0, 0, 0x5F0F, 0x3CF5, 0, 2048});
    head += std::string(16, '\0');                             // created, modified
    head += bigEndian({0, 0xFE0C, 1400, 1500, 0, 8, 2, 0, 0}); // box, style, locations 0
    const std::string triangle = bigEndian({1, 0, 0, 1000, 1400, 2, 0}) +
                                 std::string("\x01\x01\x01", 3) + // three points on the curve
                                 bigEndian({0, 500, 500, 0, 1400, 0xFA88}) + std::string(1, '\0');
    const std::string composite = bigEndian({0xFFFF, 0, 0, 1000, 1400, 0x0003, 1, 100, 0});
    return {{"head", head},
            {"hhea", bigEndian({1, 0, 1900, 0xFE0C}) + std::string(26, '\0') + bigEndian({3})},
            {"maxp", bigEndian({0, 0x5000, 3})},
            {"hmtx", bigEndian({1024, 0, 1366, 0, 1366, 0})},
            {"loca", bigEndian({0, 0, 15, 24})},
            {"glyf", triangle + composite},
            {"cmap", characterMap(1, format4Map({{'A', 'B', 0xFFC0}, {0xFFFF, 0xFFFF, 1}}))},
            {"name", nameTable("TestSans")}};
}

TEST(TrueTypeFont, AGoodFontGivesItsGlyphsWidthsNameAndSubset) {
    const TrueTypeRead read = readTrueTypeFont(trueTypeFile(goodFont()));
    ASSERT_TRUE(read.font) << read.error;
    const TrueTypeFont& font = *read.font;
    EXPECT_EQ(font.name, "TestSans");
    EXPECT_EQ(font.unitsPerEm, 2048);
    EXPECT_EQ(font.ascent, 1900);
    EXPECT_EQ(font.descent, -500);
    EXPECT_EQ(glyphOf(font, 'A'), 1);
    EXPECT_EQ(glyphOf(font, 'B'), 2);
    EXPECT_EQ(glyphOf(font, 'C'), 0);
    EXPECT_EQ(glyphOf(font, 0x10041), 0);
    EXPECT_EQ(glyphWidth(font, 0), 500u);
    EXPECT_EQ(glyphWidth(font, 2), 667u); // 1366/2048 of the size, rounded

    // A subset keeps the glyphs asked for and the ones they are built from.
    const std::string triangle = goodFont().at("glyf").substr(0, 30);
    EXPECT_NE(subsetTrueTypeFont(font, {2}).find(triangle), std::string::npos);
    EXPECT_EQ(subsetTrueTypeFont(font, {}).find(triangle), std::string::npos);
    // It ends at the last glyph kept, which keeps its number and its width.
    const TrueTypeRead subset =
        readTrueTypeFont(subsetTrueTypeFont(font, {1}, {{"cmap", goodFont().at("cmap")}}));
    ASSERT_TRUE(subset.font) << subset.error;
    EXPECT_EQ(subset.font->glyphCount, 2);
    EXPECT_EQ(glyphsFault(*subset.font, {0, 1}), "");
    EXPECT_EQ(glyphsFault(*subset.font, {2}), "glyph 2 is not in the font");
    EXPECT_EQ(subset.font->horizontalMetricCount, 2);
    EXPECT_EQ(glyphOf(*subset.font, 'A'), 1);
    EXPECT_EQ(glyphOf(*subset.font, 'B'), 0);
    EXPECT_EQ(glyphWidth(*subset.font, 1), 667u);
}

// A good font with its tables changed, and what the reader must say of it.
struct Hostile {
    const char* what;
    std::function<void(Tables&)> change;
    std::string error; // empty: read, with `check` true of the font
    std::function<bool(const TrueTypeFont&)> check = nullptr;
};

TEST(TrueTypeFont, HostileFontsAreRefusedWithTheirReasonOrReadInBoundedTime) {
    const std::string longName = [] {
        std::string name;
        while (name.size() < 60000) name += "Long(Name)/Sans#";
        return name;
    }();
    const std::vector<Hostile> fonts = {
        {"32,767 segments claimed by a short map",
         [](Tables& t) {
             t["cmap"] = characterMap(1, bigEndian({4, 0, 0, 0xFFFE, 0, 0, 0}));
         },
         "the character map has more segments than its table holds"},
        {"32,767 segments, each over the whole plane",
         [](Tables& t) {
             t["cmap"] = characterMap(
                 1, format4Map(std::vector<std::array<uint16_t, 3>>(32767, {0, 0xFFFE, 1})));
         },
         "the character map's segments are out of order"},
        {"32,767 segments in order",
         [](Tables& t) {
             std::vector<std::array<uint16_t, 3>> segments;
             for (uint16_t s = 0; s < 32767; ++s) // each even code point shows the triangle
                 segments.push_back({static_cast<uint16_t>(2 * s), static_cast<uint16_t>(2 * s),
                                     static_cast<uint16_t>(1 - 2 * s)});
             t["cmap"] = characterMap(1, format4Map(segments));
         },
         "",
         [](const TrueTypeFont& f) {
             return glyphOf(f, 0x40) == 1 && glyphOf(f, 0x41) == 0 && glyphOf(f, 65532) == 1;
         }},
        {"200,000 groups claimed by a short map",
         [](Tables& t) {
             std::string map = format12Map({{'A', 'B', 1}});
             map.replace(12, 4, "\x00\x03\x0D\x40", 4);
             t["cmap"] = characterMap(10, map);
         },
         "the character map has more groups than its table holds"},
        {"200,000 groups, each over every plane",
         [](Tables& t) {
             t["cmap"] = characterMap(
                 10, format12Map(std::vector<std::array<uint32_t, 3>>(200000, {0, 0x10FFFF, 1})));
         },
         "the character map's groups are out of order"},
        {"200,000 groups in order",
         [](Tables& t) {
             std::vector<std::array<uint32_t, 3>> groups;
             for (uint32_t g = 0; g < 200000; ++g) groups.push_back({5 * g, 5 * g + 1, 1});
             t["cmap"] = characterMap(10, format12Map(groups));
         },
         "",
         [](const TrueTypeFont& f) {
             return glyphOf(f, 5 * 199999 + 1) == 2 && glyphOf(f, 5 * 7 + 2) == 0 &&
                    glyphOf(f, 0x10FFFF) == 0;
         }},
        {"a PostScript name of 60,000 characters",
         [&](Tables& t) { t["name"] = nameTable(longName); }, "",
         [](const TrueTypeFont& f) {
             std::string expected;
             while (expected.size() < kFontNameLimit) expected += "LongNameSans";
             return f.name == expected.substr(0, kFontNameLimit);
         }},
        {"a name longer than its table",
         [](Tables& t) { t["name"] = nameTable("TestSans").substr(0, 24); },
         "the font's name runs past the end of its table"},
        {"a 53-byte head", [](Tables& t) { t["head"].resize(53); },
         "the 'head' table is shorter than 54 bytes"},
        {"an em of 20,000 units", [](Tables& t) { t["head"].replace(18, 2, "\x4E\x20"); },
         "the font's em is not between 16 and 16384 units"},
        {"a 35-byte hhea", [](Tables& t) { t["hhea"].resize(35); },
         "the 'hhea' table is shorter than 36 bytes"},
        {"a 5-byte maxp", [](Tables& t) { t["maxp"].resize(5); },
         "the 'maxp' table is shorter than 6 bytes"},
        {"widths for fewer glyphs than counted", [](Tables& t) { t["hmtx"].resize(11); },
         "the font has more glyph widths than its table holds"},
        {"locations for fewer glyphs than counted", [](Tables& t) { t["loca"].resize(6); },
         "the glyph locations are fewer than the glyphs"},
        {"a glyph beyond the glyph table", [](Tables& t) { t["glyf"].resize(38); },
         "a glyph lies beyond the end of the glyph table"},
        {"an outline whose instructions run past its data",
         [](Tables& t) { t["glyf"].replace(12, 2, "\x01\x00", 2); },
         "glyph 1 runs past the end of its data"},
        {"flags repeated past the points", [](Tables& t) { t["glyf"].replace(14, 2, "\x09\x05"); },
         "glyph 1 repeats its flags past its points"},
        {"a part placed by a point that is not there", [](Tables& t) { t["glyf"][41] = 0x01; },
         "glyph 2 places a part by a point that is not there"},
        {"a composite built from itself", [](Tables& t) { t["glyf"][43] = 2; },
         "glyph 2 is built from itself"},
        {"a composite built from a glyph the font lacks", [](Tables& t) { t["glyf"][43] = 3; },
         "glyph 2 is built from a glyph the font lacks"},
        {"no glyph table", [](Tables& t) { t.erase("glyf"); }, "the font has no 'glyf' table"},
        {"a symbol map only",
         [](Tables& t) {
             t["cmap"] = characterMap(0, format4Map({{'A', 'B', 0xFFC0}}));
         },
         "the font has no Unicode character map"},
    };
    for (const Hostile& hostile : fonts) {
        SCOPED_TRACE(hostile.what);
        Tables tables = goodFont();
        hostile.change(tables);
        const auto start = std::chrono::steady_clock::now();
        const TrueTypeRead read = readTrueTypeFont(trueTypeFile(tables));
        if (read.font) {
            glyphOf(*read.font, 0xFFFE);
            subsetTrueTypeFont(*read.font, {1, 2});
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        EXPECT_EQ(read.error, hostile.error);
        // Read with the outlines left until the glyphs drawn are known, a
        // damaged glyph is found when it is drawn, or drawn as a part of
        // another, and only then.
        if (hostile.error.rfind("glyph ", 0) == 0) {
            const TrueTypeRead lazy =
                readTrueTypeFont(trueTypeFile(tables), 0, OutlineCheck::WhenDrawn);
            ASSERT_TRUE(lazy.font) << lazy.error;
            EXPECT_EQ(glyphsFault(*lazy.font, {0, 1, 2}), hostile.error);
            EXPECT_EQ(glyphsFault(*lazy.font, {2}), hostile.error);
            EXPECT_EQ(glyphsFault(*lazy.font, {0}), "");
        }
        if (hostile.check) {
            ASSERT_TRUE(read.font);
            EXPECT_TRUE(hostile.check(*read.font));
        }
    }
}

// A collection of one face: the file's header, then the font with every
// table's offset moved by the header's 16 bytes, as they count from the
// start of the file.
std::string collectionOf(std::string font) {
    const uint16_t tables = static_cast<uint16_t>((font[4] & 0xFF) << 8 | (font[5] & 0xFF));
    for (size_t record = 0; record < tables; ++record) {
        std::string moved;
        putBigEndianUInt32(moved, bigEndianUInt32At(font, 12 + 16 * record + 8) + 16);
        font.replace(12 + 16 * record + 8, 4, moved);
    }
    std::string header = "ttcf";
    putBigEndianUInt32(header, 0x00010000);
    putBigEndianUInt32(header, 1);
    putBigEndianUInt32(header, 16);
    return header + font;
}

TEST(TrueTypeFont, AFaceThatCannotBeUsedIsPassedOverWithItsReason) {
    testing::TempFolder folder;
    Tables shortHead = goodFont();
    shortHead["head"].resize(53);
    const std::string hostile = folder.file("hostile.ttf"), good = folder.file("good.ttf"),
                      collection = folder.file("good.ttc");
    std::ofstream(folder.path() / "hostile.ttf", std::ios::binary) << trueTypeFile(shortHead);
    std::ofstream(folder.path() / "good.ttf", std::ios::binary) << trueTypeFile(goodFont());
    std::ofstream(folder.path() / "good.ttc", std::ios::binary)
        << collectionOf(trueTypeFile(goodFont()));

    DocumentSettings settings;
    settings.fontFiles = {{folder.file("missing.ttf")},
                          {hostile},
                          {good, 1},
                          {collection, 1},
                          {collection},
                          {good},
                          {hostile}};
    const FontChoice choice = chooseFonts({'A'}, *pdfCodePage(1252), settings);
    ASSERT_EQ(choice.fonts.others.size(), 1u);
    EXPECT_EQ(choice.fonts.others[0].font->name, "TestSans");
    EXPECT_EQ(choice.fonts.regularFace.at('A'), 0u);
    EXPECT_EQ(choice.refused,
              (std::vector<std::string>{folder.file("missing.ttf") + ": there is no such file",
                                        hostile + ": the 'head' table is shorter than 54 bytes",
                                        good + ": the file is a single font, not a collection",
                                        collection + ": the collection has no face 1"}));
    EXPECT_TRUE(choice.undrawable.empty());
    EXPECT_EQ(chooseFonts({'A'}, *pdfCodePage(1252), DocumentSettings{}).undrawable,
              std::vector<uint32_t>{'A'});
}

} // namespace
} // namespace plaxet
