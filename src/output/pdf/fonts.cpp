#include "output/pdf/fonts.h"

#include "output/pdf/truetype.h"
#include "runtime/codepage.h"
#include "runtime/utf8.h"

namespace plaxet {

const PdfCodePage* pdfCodePage(uint32_t codePageNumber) {
    for (size_t i = 0; i < kPdfCodePageCount; ++i)
        if (kPdfCodePages[i].number == codePageNumber) return &kPdfCodePages[i];
    return nullptr;
}

const PdfCodePage& pdfEncodingFor(uint32_t codePageNumber) {
    const PdfCodePage* own = pdfCodePage(codePageNumber);
    return own ? *own : *pdfCodePage(1252);
}

std::optional<unsigned char> standardFontByte(const PdfCodePage& codePage, uint32_t codePoint) {
    if (codePoint < 0x80) {
        if (codePage.glyphs[codePoint].name == nullptr) return std::nullopt;
        return static_cast<unsigned char>(codePoint);
    }
    // Only the upper half differs between the encodings; a scan of it costs
    // less than a table, and few characters of a form get here.
    for (size_t byte = 0x80; byte < codePage.glyphs.size(); ++byte)
        if (codePage.glyphs[byte].codePoint == codePoint && codePage.glyphs[byte].name != nullptr)
            return static_cast<unsigned char>(byte);
    return std::nullopt;
}

std::string standardFontStandIn(const PdfCodePage& codePage, std::string_view character) {
    const std::string nearest = fromCodePage(toCodePage(character).bytes);
    std::string bytes;
    for (size_t at = 0; at < nearest.size();) {
        const std::optional<unsigned char> byte =
            standardFontByte(codePage, nextCodePoint(nearest, at));
        bytes += byte ? static_cast<char>(*byte) : '?';
    }
    return bytes.empty() ? "?" : bytes;
}

uint32_t characterWidthBeyondAscii(const PdfFonts& fonts, PdfFont font, std::string_view text,
                                   size_t& at) {
    const PdfCodePage& codePage = *fonts.encoding;
    const auto widthOf = [&](unsigned char byte) -> uint32_t {
        const PdfGlyph& glyph = codePage.glyphs[byte];
        return font == PdfFont::Bold ? glyph.boldWidth : glyph.regularWidth;
    };
    const size_t start = at;
    const uint32_t codePoint = nextCodePoint(text, at);
    if (codePoint == kSoftHyphenCodePoint) return 0; // shown only where a line breaks
    if (const std::optional<unsigned char> byte = standardFontByte(codePage, codePoint))
        return widthOf(*byte);
    if (const std::optional<size_t> face = otherFaceIndex(fonts, font, codePoint)) {
        const TrueTypeFont& other = *fonts.others[*face].font;
        return glyphWidth(other, glyphOf(other, codePoint));
    }
    uint32_t width = 0;
    for (const char c : standardFontStandIn(codePage, text.substr(start, at - start)))
        width += widthOf(static_cast<unsigned char>(c));
    return width;
}

std::optional<size_t> otherFaceIndex(const PdfFonts& fonts, PdfFont font, uint32_t codePoint) {
    const std::map<uint32_t, size_t>& faces =
        font == PdfFont::Bold ? fonts.boldFace : fonts.regularFace;
    const auto found = faces.find(codePoint);
    if (found == faces.end()) return std::nullopt;
    return found->second;
}

double textWidth(const PdfFonts& fonts, PdfFont font, std::string_view text, double size) {
    uint64_t thousandths = 0;
    for (size_t at = 0; at < text.size();) thousandths += characterWidth(fonts, font, text, at);
    return thousandths * size / 1000.0;
}

std::string_view pdfFontName(PdfFont font) {
    return font == PdfFont::Bold ? "Helvetica-Bold" : "Helvetica";
}

} // namespace plaxet
