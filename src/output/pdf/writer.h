#pragma once
// The form as a PDF document: the page layout (layout.h) turned into the
// file's bytes, with the two standard fonts, compressed page contents and a
// cross-reference table.
#include "form/form_document.h"
#include "output/document_output.h"
#include "output/document_settings.h"
#include "output/pdf/fonts.h"
#include "output/pdf/layout.h"
#include "output/totals.h"
#include "runtime/file.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plaxet {

// The document information dictionary. Texts are UTF-8.
struct PdfDocumentInfo {
    std::string title;        // the heading word and the addressee's name
    std::string author;       // the first letterhead line
    std::string creator;      // "Plaxet" and the version
    int64_t creationTime = 0; // seconds since 1970-01-01 UTC
};

struct PdfArchival; // archival.h

// The bytes of a PDF 1.7 file that shows `layout`: every page's content
// stream compressed with zlib, the standard fonts in `fonts.encoding`
// (WinAnsiEncoding, or that encoding with the differences of another code
// page), and what they lack from `fonts.others`, each embedded as a subset.
// With `archival`, an archival file (PDF/A-3B) with the e-invoice attached,
// the standard fonts' text set in the archival faces, which must cover it.
std::string pdfBytes(const PdfLayout& layout, const PdfFonts& fonts, const PdfDocumentInfo& info,
                     const PdfArchival* archival = nullptr);

// Appends a PDF literal string, brackets included: "(", ")" and "\" get a
// backslash in front, control bytes become octal escapes, every other byte
// stands as it is, so no text can end the string early.
void appendPdfString(std::string& out, std::string_view text);

// The whole PDF of a form: the standard fonts in the encoding of the
// settings' code page (pdfEncodingFor), other characters from the faces
// chosen for them (font_choice.h). When the values carry an e-invoice, an
// archival file with it attached, if the settings' archival fonts can be
// read and every character has a font; otherwise the plain file.
// The report, when given, gets the characters no font on this computer has
// (each drawn as a box, or as its nearest text when no font could be read),
// and whether an e-invoice could not be made archival for want of fonts.
std::string pdfDocument(const FormDocument& form, const DocumentValues& values,
                        const DocumentSettings& settings, DocumentReport* report = nullptr);

// The PDF as a read-only file to put at `path` with replaceFilesTogether.
// The form, values, settings and report must outlive the replace.
FileReplacement pdfDocumentFile(const FormDocument& form, const DocumentValues& values,
                                const DocumentSettings& settings, const std::string& path,
                                DocumentReport* report = nullptr);

} // namespace plaxet
