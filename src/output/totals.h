#pragma once
// Totals and wording for the documents: the item sums (form/item_sums.h) with
// the heading word, totals label, closing sentence and the other values the
// documents print.
#include "form/form_document.h"
#include "form/item_sums.h"
#include "output/document_items.h"

#include <string>
#include <string_view>
#include <vector>

namespace plaxet {

// Everything the documents show beyond the record's own texts, computed
// together so that no writer can see values of another state of the form.
struct DocumentValues {
    std::string heading;         // "INVOICE", "RECEIPT", "ESTIMATE"
    std::string totalLabel;      // "Total due", "Total paid", "Estimated total"
    std::string closingSentence; // by form type; for a receipt, by what is still owed
    std::string longDate;        // the form date as "March 5, 2024"
    std::vector<std::string> notesLines;
    double totalRowAmount = 0;  // the total, or for a receipt the amount paid
    ItemSums sums;              // a subtotal row's text is the money text
    ItemCostTexts printedCosts; // the money text of each item's cost
};

// The documents' values of a gathered form (items recounted).
DocumentValues documentValues(const FormDocument& form);

} // namespace plaxet
