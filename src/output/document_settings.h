#pragma once
// What the documents depend on beyond the form: the paper, the code page the
// RTF's bytes are in, the font files for the characters the PDF's standard
// fonts lack, the creation time and the business details. Built once where
// the program starts (the window's wWinMain, plaxet-cli's command, a test)
// and handed to every writer, so that a document is a function of the form
// and these values, and nothing that writes one reads the environment or the
// system's settings.
#include "form/business_details.h"
#include "runtime/system_fonts.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace plaxet {

enum class PaperSize { Letter, A4 };

// The faces the PDF of an invoice that carries its e-invoice is set in
// instead of the standard fonts, as it must embed every font it uses:
// Liberation Sans, regular and bold (metric-compatible with Helvetica, so
// the layout stays). Empty paths: none, and that PDF is written plain.
struct ArchivalFontFiles {
    std::string regular;
    std::string bold;
};

// Where this computer keeps them: on Linux the system's font folder, on
// Windows beside the program, where the packages put them.
ArchivalFontFiles archivalFontFiles();

struct DocumentSettings {
    PaperSize paper = PaperSize::Letter;
    // The code page of the conversion in use (runtime/codepage.h), which the
    // RTF document's bytes are in; the PDF's standard fonts take its encoding.
    uint32_t codePage = 1252;
    // The font files tried, in order, for characters the standard PDF fonts
    // lack: each such character is drawn from the first face that has it,
    // and from a face the system suggests (findFonts) where none of these has it.
    std::vector<FontFace> fontFiles;
    // The system's faces for a character (runtime/system_fonts.h); none: only fontFiles.
    std::function<std::vector<FontFace>(uint32_t codePoint, bool bold)> findFonts;
    ArchivalFontFiles archivalFonts;
    // Seconds since 1970 (UTC): the PDF's creation date when given (so that
    // two runs can give the same bytes), otherwise the time of writing.
    std::optional<int64_t> creationTime;
    // What the invoices say about the seller (business.json): its footer,
    // its exemption sentence, its payment terms. Empty when there is none.
    BusinessDetails business;
};

} // namespace plaxet
