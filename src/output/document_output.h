#pragma once
// Where a document's bytes go while a writer builds it, and what writing it
// found that the user is to be told: gathered whole for
// the caller, or handed on to a file in pieces, so that a long document is
// never held in memory at once.
#include "form/form_document.h"
#include "output/document_settings.h"
#include "output/totals.h"
#include "runtime/file.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace plaxet {

// What writing a document found that the user is to be told once it is in
// place: the characters the PDF could not draw, as no font on the computer
// has them (in code point order).
struct DocumentReport {
    std::vector<uint32_t> undrawnCharacters;
    // The values carried an e-invoice, but the PDF could not be made
    // archival with it: the archival fonts (DocumentSettings::archivalFonts)
    // could not be read or lack a character, or some character has no font
    // at all. The PDF is then the plain one, without the e-invoice.
    bool archivalFontsMissing = false;
};

struct DocumentOutput {
    std::string text;                  // the bytes not yet handed on
    const ContentSink* sink = nullptr; // none: the whole document stays in text
    bool refused = false;              // the sink could not take a piece
};

// A document gathered whole, with room for `expectedSize` bytes.
DocumentOutput wholeDocument(size_t expectedSize);

// A document handed on to `sink` piece by piece.
DocumentOutput documentInPieces(const ContentSink& sink);

// Called between rows: hands the text on once it makes a full piece. False
// once the sink has refused a piece, so that the writer can stop.
bool handOnFullPiece(DocumentOutput& output);

// Called at the end: hands on what is left.
void handOnRest(DocumentOutput& output);

// The items a document prints: the counted ones, and never more than the
// values were computed for.
size_t printedItemCount(const FormDocument& form, const DocumentValues& values);

// What each document writer provides: the document of a form built into an output.
using DocumentBuilder = void (*)(const FormDocument& form, const DocumentValues& values,
                                 const DocumentSettings& settings, DocumentOutput& output);

// The whole document in memory, with room for `expectedSize` bytes.
std::string documentText(const FormDocument& form, const DocumentValues& values,
                         const DocumentSettings& settings, DocumentBuilder build,
                         size_t expectedSize);

// The document as a read-only file to put at `path`, built and written in
// pieces. The form, values and settings must outlive the replace.
FileReplacement documentFile(const FormDocument& form, const DocumentValues& values,
                             const DocumentSettings& settings, const std::string& path,
                             DocumentBuilder build);

} // namespace plaxet
