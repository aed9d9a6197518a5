#pragma once
// The form as a Rich Text Format document for a word processor: letterhead,
// addressee with heading word and date, the item table with its totals row,
// the closing sentence and the notes.
#include "form/form_document.h"
#include "output/document_items.h"
#include "runtime/file.h"

#include <string>

namespace plaxet {

// The document's bytes, built from the form after computeTotals has run.
// Every line ends in CR LF; texts from the form are escaped so that a
// backslash, a brace or a byte above 0x7F reads as what was typed.
std::string rtfDocument(const FormDocument& form);

// Writes the document to `path` (complete, then put in place of any earlier
// document, read-only too) and marks it read-only. A failure leaves the
// earlier file as it was and says why.
ReplaceResult writeRtfFile(const FormDocument& form, const std::string& path);

// The same, with the items' cost texts already made from this form (Create
// Files makes them once for both documents).
ReplaceResult writeRtfFile(const FormDocument& form, const std::string& path,
                           const ItemCostTexts& costs);

} // namespace plaxet
