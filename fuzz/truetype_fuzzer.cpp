// Feeds arbitrary bytes to the TrueType reader of the PDF's embedded font,
// and what it accepts to what the PDF writer does with a font: the glyphs
// and widths of characters, the name, the subset. A refused font must say
// why; an accepted one must give a name a PDF may hold, glyphs the font has,
// and a subset that reads again as the same font (with the character map
// and name of the whole font added, which a subset leaves out).
#include "output/pdf/truetype.h"
#include "runtime/binary.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_checks.h"

using plaxet::fuzzing::require;

namespace {

// What a PDF name may hold as it is: printable ASCII but the delimiters and '#'.
bool isPdfNameCharacter(char c) {
    return c >= 0x21 && c <= 0x7E &&
           std::string_view("()<>[]{}/%#").find(c) == std::string_view::npos;
}

// The tables of a font file the subset writer made, by tag.
std::map<std::string, std::string> tablesOf(std::string_view file) {
    std::map<std::string, std::string> tables;
    const uint16_t count = plaxet::bigEndianUInt16At(file, 4);
    plaxet::ByteReader in{file, 12};
    for (uint16_t i = 0; i < count; ++i) {
        std::string tag = plaxet::readPadded(in, 4);
        plaxet::readBigEndianUInt32(in); // the checksum
        const uint32_t offset = plaxet::readBigEndianUInt32(in);
        const uint32_t length = plaxet::readBigEndianUInt32(in);
        require(!in.pastEnd && offset <= file.size() && length <= file.size() - offset);
        tables[tag] = std::string(file.substr(offset, length));
    }
    return tables;
}

std::string wholeTable(const plaxet::TrueTypeFont& font, const std::string& tag) {
    const auto found = font.tables.find(tag);
    if (found == font.tables.end()) return {};
    return std::string(
        std::string_view(font.bytes).substr(found->second.first, found->second.second));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const plaxet::TrueTypeRead read = plaxet::readTrueTypeFont(std::string(input));
    // Read with the outlines left for later, the font is refused for the same
    // reasons but a damaged glyph, which is found once every glyph is drawn.
    const plaxet::TrueTypeRead lazy =
        plaxet::readTrueTypeFont(std::string(input), 0, plaxet::OutlineCheck::WhenDrawn);
    std::vector<uint16_t> everyGlyph;
    if (lazy.font)
        for (uint32_t glyph = 0; glyph < lazy.font->glyphCount; ++glyph)
            everyGlyph.push_back(static_cast<uint16_t>(glyph));
    if (!read.font) { // a reason that can be shown as it is
        require(!read.error.empty());
        for (const char c : read.error) require(c >= 0x20 && c <= 0x7E);
        if (read.error.rfind("glyph ", 0) != 0)
            require(!lazy.font && lazy.error == read.error);
        else if (lazy.font)
            require(plaxet::glyphsFault(*lazy.font, everyGlyph).rfind("glyph ", 0) == 0);
        return 0;
    }
    require(read.error.empty());
    require(lazy.font.has_value() && plaxet::glyphsFault(*lazy.font, everyGlyph).empty());
    const plaxet::TrueTypeFont& font = *read.font;
    // The subset's name is a tag of six capitals and '+' before the font's.
    require(!font.name.empty() && font.name.size() + 7 <= 127);
    for (const char c : font.name) require(isPdfNameCharacter(c));
    require(font.unitsPerEm >= 16 && font.glyphCount > 0 && font.horizontalMetricCount > 0);

    // Characters of every plane, and more taken from the input's last bytes.
    std::vector<uint32_t> characters = {0,      ' ',    'A',     0xE9,    0x141,    0x4E2D,
                                        0xFFFD, 0xFFFF, 0x10000, 0x1F600, 0x10FFFF, 0x110000};
    for (size_t at = size; at >= 3 && characters.size() < 40; at -= 3)
        characters.push_back(
            (uint32_t{data[at - 3]} << 16 | uint32_t{data[at - 2]} << 8 | data[at - 1]) % 0x110000);
    std::vector<uint16_t> glyphs;
    for (const uint32_t c : characters) {
        const uint16_t glyph = plaxet::glyphOf(font, c);
        require(glyph < font.glyphCount);
        require(plaxet::glyphWidth(font, glyph) <= 65535u * 1000u / 16u + 1u);
        glyphs.push_back(glyph);
    }

    const std::string subset = plaxet::subsetTrueTypeFont(font, glyphs);
    std::map<std::string, std::string> tables = tablesOf(subset);
    tables["cmap"] = wholeTable(font, "cmap");
    if (font.tables.count("name")) tables["name"] = wholeTable(font, "name");
    const plaxet::TrueTypeRead again = plaxet::readTrueTypeFont(plaxet::trueTypeFile(tables));
    if (tables.at("glyf").empty()) { // every glyph kept has no outline
        require(again.error == "the 'glyf' table is shorter than 1 byte");
        return 0;
    }
    require(again.font.has_value());
    const plaxet::TrueTypeFont& copy = *again.font;
    // The subset ends at the last glyph it keeps, at least the last asked for.
    require(copy.name == font.name && copy.unitsPerEm == font.unitsPerEm &&
            copy.glyphCount <= font.glyphCount &&
            copy.glyphCount > *std::max_element(glyphs.begin(), glyphs.end()) &&
            copy.ascent == font.ascent && copy.descent == font.descent && copy.longOffsets);
    for (int k = 0; k < 4; ++k) require(copy.box[k] == font.box[k]);
    for (size_t i = 0; i < characters.size(); ++i) {
        require(plaxet::glyphOf(copy, characters[i]) == glyphs[i]);
        require(plaxet::glyphWidth(copy, glyphs[i]) == plaxet::glyphWidth(font, glyphs[i]));
    }
    return 0;
}
