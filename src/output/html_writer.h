#pragma once
// The form as an HTML page for a web browser: five positioned blocks holding
// the letterhead, the addressee, the heading word with the date, the item
// table, and the closing sentence with the notes.
#include "form/form_document.h"
#include "output/document_items.h"
#include "runtime/file.h"

#include <string>

namespace plaxet {

// The page's bytes, built from the form after computeTotals has run. Every
// line ends in CR LF; texts from the form are escaped so that markup
// characters and bytes above 0x7F show as what was typed.
std::string htmlDocument(const FormDocument& form);

// Writes the page to `path` (complete, then put in place of any earlier page,
// read-only too) and marks it read-only. A failure leaves the earlier file as
// it was and says why.
ReplaceResult writeHtmlFile(const FormDocument& form, const std::string& path);

// The same, with the items' cost texts already made from this form (Create
// Files makes them once for both documents).
ReplaceResult writeHtmlFile(const FormDocument& form, const std::string& path,
                            const ItemCostTexts& costs);

} // namespace plaxet
