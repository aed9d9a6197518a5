#pragma once
// The form laid out on paper for the PDF document: where every text and
// every table rule stands on which page. A pure function of the record and
// its values, so that the rules of the page (wrapping, page breaks, the
// repeated header row, the page numbers) are tested without any file.
#include "form/form_document.h"
#include "output/document_settings.h"
#include "output/pdf/fonts.h"
#include "output/totals.h"

#include <string>
#include <string_view>
#include <vector>

namespace plaxet {

// One text run on a page. Positions are in points from the page's lower left
// corner; y is the baseline. The text is the form's bytes, as typed.
struct PdfText {
    double x = 0;
    double y = 0;
    PdfFont font = PdfFont::Regular;
    double size = 10;
    std::string text;
};

// One straight rule of the item table.
struct PdfRule {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// One filled rectangle: a run of the payment code's dark modules.
struct PdfBox {
    double x = 0, y = 0, width = 0, height = 0; // y: the lower edge
};

struct PdfPage {
    std::vector<PdfText> texts; // in reading order
    std::vector<PdfRule> rules;
    std::vector<PdfBox> boxes;
};

struct PdfLayout {
    double width = 0; // the paper, in points
    double height = 0;
    std::vector<PdfPage> pages;
};

// The letterhead centred at the top, the addressee block (and the buyer's tax
// details) with the heading word, the number, the long date and the due date,
// the item table (its header row on every page; a row is moved whole to the
// next page, and split only when it is taller than a page), the totals row,
// the closing sentence, the terms and "Thank you", the notes, the payment
// code with "Scan to pay" under it (whole on one page) and the seller's
// footer. The
// last item row, the totals row and the closing sentence stay together, so
// neither the totals nor the closing stands alone at the top of a page.
// Every page ends with "Page N of M".
PdfLayout pdfLayout(const FormDocument& form, const DocumentValues& values, const PdfFonts& fonts,
                    PaperSize paper);

// A text cut into lines no wider than `width`: at blanks where it can be,
// inside a word only when the word alone is wider. An empty text is one empty line.
std::vector<std::string_view> wrapText(std::string_view text, double width, const PdfFonts& fonts,
                                       PdfFont font, double size);
// The same into `lines`, replacing what they held (their room is reused).
void wrapTextInto(std::vector<std::string_view>& lines, std::string_view text, double width,
                  const PdfFonts& fonts, PdfFont font, double size);

} // namespace plaxet
