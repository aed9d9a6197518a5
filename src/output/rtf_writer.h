#pragma once
// The form as a Rich Text Format document for a word processor: letterhead,
// addressee with heading word and date, the item table with its totals row,
// the closing sentence and the notes.
#include "form/form_document.h"
#include "output/document_output.h"
#include "output/document_settings.h"
#include "output/totals.h"
#include "runtime/file.h"

#include <string>

namespace plaxet {

// The document's bytes. Every line ends in CR LF; texts from the form are
// escaped so that a backslash, a brace or a byte above 0x7F reads as what was typed.
// The code page of its bytes is the settings'.
std::string rtfDocument(const FormDocument& form, const DocumentValues& values,
                        const DocumentSettings& settings);

// The document as a read-only file to put at `path` with replaceFilesTogether,
// built and written in pieces. The form, values and settings must outlive the replace.
// It has nothing to report.
FileReplacement rtfDocumentFile(const FormDocument& form, const DocumentValues& values,
                                const DocumentSettings& settings, const std::string& path,
                                DocumentReport* report = nullptr);

} // namespace plaxet
