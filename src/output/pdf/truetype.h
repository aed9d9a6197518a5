#pragma once
// A TrueType font file, read for the PDF's characters that the standard
// fonts lack: which glyph shows a character, how wide it is, and the font
// cut down to the glyphs a document uses, for embedding.
#include "runtime/file.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plaxet {

// The longest font name kept, in bytes: the embedded subset is named with a
// tag of seven more ("ABCDEF+"), and a PDF name may hold 127 bytes.
constexpr size_t kFontNameLimit = 120;

struct TrueTypeFont {
    std::string name;  // the PostScript name, e.g. "DejaVuSans": letters, digits and '-' only
    SharedBytes bytes; // the whole file
    uint16_t unitsPerEm = 1000;
    int16_t box[4] = {}; // x min, y min, x max, y max of all glyphs, in font units
    int16_t ascent = 0;
    int16_t descent = 0;
    uint16_t glyphCount = 0;
    uint16_t horizontalMetricCount = 0;
    bool longOffsets = false; // the glyph locations are 32-bit
    std::map<std::string, std::pair<uint32_t, uint32_t>, std::less<>> tables; // offset, length
    // The Unicode character map used: its format (4: the basic plane, 12:
    // every plane) and where it starts in the `cmap` table. Its segments were
    // found in order and within the table, so a look-up is a binary search.
    uint16_t characterMapFormat = 0;
    uint32_t characterMapAt = 0;
};

// What reading a font file gave: the font, or why the file is no TrueType
// font Plaxet can embed (outlines in another format, a count larger than its
// table, a table too short for what it must hold).
struct TrueTypeRead {
    std::optional<TrueTypeFont> font;
    std::string error; // e.g. "the character map has more segments than its table holds"
};

// How much of the outlines reading a font checks: every glyph's, or only the
// tables', for a font whose glyphs are checked when it is known which are
// drawn (glyphsFault), as a document draws a few dozen of thousands.
enum class OutlineCheck { EveryGlyph, WhenDrawn };

// Reads face `face` of a font file: 0 for a single font, or which of a
// collection's faces (a .ttc file). Reads in time proportional to the file's
// size, whatever its counts claim.
TrueTypeRead readTrueTypeFont(SharedBytes bytes, uint32_t face = 0,
                              OutlineCheck check = OutlineCheck::EveryGlyph);

// Why one of the glyphs, or a glyph it is built from, cannot be drawn (as
// reading with OutlineCheck::EveryGlyph would say); empty when all can.
std::string glyphsFault(const TrueTypeFont& font, const std::vector<uint16_t>& glyphs);

// The glyph that shows a character; 0 (the font's "missing" glyph) when none does.
uint16_t glyphOf(const TrueTypeFont& font, uint32_t codePoint);
// A glyph's advance width in thousandths of the font size.
uint32_t glyphWidth(const TrueTypeFont& font, uint16_t glyph);

// The font file with only the given glyphs' outlines (and the glyphs they
// are built from); every other glyph keeps its number but is empty. It has
// no character map unless `extraTables` gives one (a font drawn through a
// PDF encoding needs it; one drawn by glyph numbers does not).
std::string subsetTrueTypeFont(const TrueTypeFont& font, const std::vector<uint16_t>& glyphs,
                               const std::map<std::string, std::string>& extraTables = {});

// A font file of the given tables (tag and contents), with the table
// directory and each table's checksum; the subset is written by it.
std::string trueTypeFile(const std::map<std::string, std::string>& tables);

} // namespace plaxet
