#pragma once
// The font files a document may draw on for characters its standard fonts
// lack, as this computer offers them: a fixed list read where the program
// starts, and the system's own answer to which font has a character.
#include <cstdint>
#include <string>
#include <vector>

namespace plaxet {

struct FontFace {
    std::string path;
    uint32_t face = 0; // which face of a collection (.ttc); 0 for a single font
    bool bold = false;
};

// In the order to try them, regular and bold faces: the file named by
// PLAXET_PDF_FONT when it is set, then on Windows the system's fonts for
// Latin, Chinese, Japanese, Korean, Indic scripts and symbols (Segoe UI,
// Arial, Microsoft YaHei, SimSun, Meiryo, MS Gothic, Malgun Gothic, Nirmala
// UI, Segoe UI Symbol, Tahoma), on Linux DejaVu Sans.
std::vector<FontFace> documentFontFiles();

// The system's faces that have the character, best first, a few at most, of
// the weight asked for where there is one; none when the system cannot say.
// On Linux fontconfig's sans-serif faces with TrueType outlines. On Windows
// the font DirectWrite's fallback table draws the character with beside
// Segoe UI (Windows 8.1 and later), then the first installed families that
// have it, the fonts of the list above first.
std::vector<FontFace> systemFontsFor(uint32_t codePoint, bool bold);

} // namespace plaxet
