#pragma once
// The two standard PDF fonts every viewer has, Helvetica and Helvetica-Bold:
// which glyph each byte of a code page shows and how wide it is, so that the
// layout can wrap and align text without embedding a font.
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plaxet {

enum class PdfFont { Regular, Bold };

struct PdfGlyph {
    const char* name = nullptr; // none: the byte stands for no character
    uint16_t codePoint = 0;     // the character the byte stands for
    uint16_t regularWidth = 0;  // in thousandths of the font size
    uint16_t boldWidth = 0;
};

// The glyphs of one code page's bytes. Code page 1252 is the fonts' own
// WinAnsiEncoding; the others differ from it in some bytes of the upper half.
struct PdfCodePage {
    uint32_t number = 0;
    std::array<PdfGlyph, 256> glyphs;
};

// The tables of the code pages whose letters the standard fonts hold
// (Western, Central European, Turkish, Baltic); null for any other code page.
const PdfCodePage* pdfCodePage(uint32_t codePageNumber);
// The encoding of the standard fonts for a system with this code page: its
// own table where there is one, otherwise WinAnsiEncoding (1252). The text
// is UTF-8 whatever the code page, so every code page gets a PDF; what the
// encoding lacks is drawn from the embedded font.
const PdfCodePage& pdfEncodingFor(uint32_t codePageNumber);

// The byte that shows a character in the standard fonts with the code
// page's encoding; nothing when they have no glyph for it.
std::optional<unsigned char> standardFontByte(const PdfCodePage& codePage, uint32_t codePoint);

// What stands in the standard fonts for a character (UTF-8) that no font can
// draw: the bytes of its nearest text (a for ą), or "?".
std::string standardFontStandIn(const PdfCodePage& codePage, std::string_view character);

struct TrueTypeFont;

// A font face embedded for characters the standard fonts lack.
struct OtherFace {
    const TrueTypeFont* font = nullptr;
    bool bold = false; // a bold face; a regular one in bold text is drawn with a stroke
};

// The fonts a PDF is drawn with: the standard fonts in one encoding, and the
// faces for the characters they lack, with which face draws each such
// character in regular and in bold text (a character in neither map becomes
// its nearest text).
struct PdfFonts {
    const PdfCodePage* encoding = nullptr;
    std::vector<OtherFace> others;                    // the PDF's fonts F3, F4, ... in this order
    std::map<uint32_t, size_t> regularFace, boldFace; // character -> index into `others`
};

// The index into fonts.others of the face that draws a character in text
// of this weight; nothing when no face does.
std::optional<size_t> otherFaceIndex(const PdfFonts& fonts, PdfFont font, uint32_t codePoint);

// A soft hyphen takes no room: the layout shows it as a hyphen only where it
// breaks a word at the end of a line.
constexpr uint32_t kSoftHyphenCodePoint = 0xAD;

// The width in thousandths of the font size of the UTF-8 character at `at`,
// which moves past it: its glyph in the standard font, or else in its other
// face (truetype.h), or else the width of the code
// page's nearest text, which is then what stands in its place.
uint32_t characterWidthBeyondAscii(const PdfFonts& fonts, PdfFont font, std::string_view text,
                                   size_t& at);
inline uint32_t characterWidth(const PdfFonts& fonts, PdfFont font, std::string_view text,
                               size_t& at) {
    // Most characters are ASCII: their glyph is their byte's (the layout
    // measures every character, so this one stays inline).
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte >= 0x80) return characterWidthBeyondAscii(fonts, font, text, at);
    ++at;
    const PdfGlyph& glyph = fonts.encoding->glyphs[byte];
    return font == PdfFont::Bold ? glyph.boldWidth : glyph.regularWidth;
}

// The width of a UTF-8 text in points at `size` points.
double textWidth(const PdfFonts& fonts, PdfFont font, std::string_view text, double size);

// The fonts' names as PDF knows them: "Helvetica", "Helvetica-Bold".
std::string_view pdfFontName(PdfFont font);

// Generated from the fonts' published metrics (font_metrics.py).
extern const PdfCodePage kPdfCodePages[];
extern const size_t kPdfCodePageCount;

} // namespace plaxet
