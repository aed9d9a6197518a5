#include "output/pdf_fonts.h"

namespace plaxet {

const PdfCodePage* pdfCodePage(uint32_t codePageNumber) {
    for (size_t i = 0; i < kPdfCodePageCount; ++i)
        if (kPdfCodePages[i].number == codePageNumber) return &kPdfCodePages[i];
    return nullptr;
}

double textWidth(const PdfCodePage& codePage, PdfFont font, std::string_view text, double size) {
    uint64_t thousandths = 0;
    for (const char c : text) {
        const PdfGlyph& glyph = codePage.glyphs[static_cast<unsigned char>(c)];
        thousandths += font == PdfFont::Bold ? glyph.boldWidth : glyph.regularWidth;
    }
    return thousandths * size / 1000.0;
}

std::string_view pdfFontName(PdfFont font) {
    return font == PdfFont::Bold ? "Helvetica-Bold" : "Helvetica";
}

} // namespace plaxet
