#include "output/pdf_fonts.h"

#include "output/pdf_truetype.h"
#include "runtime/codepage.h"
#include "runtime/utf8.h"

namespace plaxet {

const PdfCodePage* pdfCodePage(uint32_t codePageNumber) {
    for (size_t i = 0; i < kPdfCodePageCount; ++i)
        if (kPdfCodePages[i].number == codePageNumber) return &kPdfCodePages[i];
    return nullptr;
}

std::optional<unsigned char> standardFontByte(const PdfCodePage& codePage,
                                              std::string_view character) {
    if (character.size() == 1 && static_cast<unsigned char>(character[0]) < 0x80)
        return static_cast<unsigned char>(character[0]);
    const CodePageText inPage = toCodePage(character);
    if (!inPage.exact || inPage.bytes.size() != 1) return std::nullopt;
    const auto byte = static_cast<unsigned char>(inPage.bytes[0]);
    if (codePage.glyphs[byte].name == nullptr) return std::nullopt;
    return byte;
}

uint32_t characterWidthBeyondAscii(const PdfCodePage& codePage, PdfFont font,
                                   std::string_view text, size_t& at) {
    const auto widthOf = [&](unsigned char byte) -> uint32_t {
        const PdfGlyph& glyph = codePage.glyphs[byte];
        return font == PdfFont::Bold ? glyph.boldWidth : glyph.regularWidth;
    };
    const size_t start = at;
    const uint32_t codePoint = nextCodePoint(text, at);
    const std::string_view character = text.substr(start, at - start);
    if (const std::optional<unsigned char> byte = standardFontByte(codePage, character))
        return widthOf(*byte);
    if (const TrueTypeFont* unicode = pdfUnicodeFont())
        return glyphWidth(*unicode, glyphOf(*unicode, codePoint));
    uint32_t width = 0;
    for (const char c : toCodePage(character).bytes)
        width += widthOf(static_cast<unsigned char>(c));
    return width;
}

double textWidth(const PdfCodePage& codePage, PdfFont font, std::string_view text, double size) {
    uint64_t thousandths = 0;
    for (size_t at = 0; at < text.size();) thousandths += characterWidth(codePage, font, text, at);
    return thousandths * size / 1000.0;
}

std::string_view pdfFontName(PdfFont font) {
    return font == PdfFont::Bold ? "Helvetica-Bold" : "Helvetica";
}

} // namespace plaxet
