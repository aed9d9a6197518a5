#pragma once
// The form as an HTML page for a web browser: five positioned blocks holding
// the letterhead, the addressee, the heading word with the date, the item
// table, and the closing sentence with the notes.
#include "form/form_document.h"
#include "output/document_output.h"
#include "output/document_settings.h"
#include "output/totals.h"
#include "runtime/file.h"

#include <string>

namespace plaxet {

// The page's bytes. Every line ends in CR LF; texts from the form are
// escaped so that markup characters and bytes above 0x7F show as what was typed.
std::string htmlDocument(const FormDocument& form, const DocumentValues& values);

// The page as a read-only file to put at `path` with replaceFilesTogether,
// built and written in pieces. The form, values and settings must outlive the
// replace; the page depends on no setting.
// It has nothing to report.
FileReplacement htmlDocumentFile(const FormDocument& form, const DocumentValues& values,
                                 const DocumentSettings& settings, const std::string& path,
                                 DocumentReport* report = nullptr);

} // namespace plaxet
