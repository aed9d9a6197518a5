#pragma once
// A TrueType font file, read for the PDF's characters that the standard
// fonts lack: which glyph shows a character, how wide it is, and the font
// cut down to the glyphs a document uses, for embedding.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plaxet {

struct TrueTypeFont {
    std::string name;  // the PostScript name, e.g. "DejaVuSans"
    std::string bytes; // the whole file
    uint16_t unitsPerEm = 1000;
    int16_t box[4] = {}; // x min, y min, x max, y max of all glyphs, in font units
    int16_t ascent = 0;
    int16_t descent = 0;
    uint16_t glyphCount = 0;
    uint16_t horizontalMetricCount = 0;
    bool longOffsets = false; // the glyph locations are 32-bit
    std::map<std::string, std::pair<uint32_t, uint32_t>, std::less<>> tables; // offset, length
    std::map<uint32_t, uint16_t> glyphOfCodePoint;
};

// The font in a file's bytes; nothing when they are no TrueType font Plaxet
// can use (a collection, outlines in another format, damaged tables).
std::optional<TrueTypeFont> readTrueTypeFont(std::string bytes);

// The glyph that shows a character; 0 (the font's "missing" glyph) when none does.
uint16_t glyphOf(const TrueTypeFont& font, uint32_t codePoint);
// A glyph's advance width in thousandths of the font size.
uint32_t glyphWidth(const TrueTypeFont& font, uint16_t glyph);

// The font file with only the given glyphs' outlines (and the glyphs they
// are built from); every other glyph keeps its number but is empty.
std::string subsetTrueTypeFont(const TrueTypeFont& font, const std::vector<uint16_t>& glyphs);

// The font for characters the standard fonts lack, read once: the file named
// by PLAXET_PDF_FONT when it is set, else on Windows a font of the system's
// Fonts folder (Segoe UI, Arial, Tahoma), on Linux DejaVu Sans. Null when none
// can be read; those characters are then written as the code page's nearest text.
const TrueTypeFont* pdfUnicodeFont();

} // namespace plaxet
