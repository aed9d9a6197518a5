#pragma once
// Totals and wording: turns the item list into the grand total and the cost
// texts of computed rows (subtotal and tax rows), and chooses the heading
// word, totals label and closing sentence of the documents.
#include "form/form_document.h"
#include "output/document_items.h"

#include <string>
#include <string_view>
#include <vector>

namespace plaxet {

// The rate stated in a tax description: the number in the second field when
// the text is cut at ",", "(" and ")"; a trailing "%" makes it a percentage,
// otherwise it is a factor ("tax (7%)" and "tax (0.07)" give the same rate).
// 0 when the description states no rate.
long double taxRateOf(std::string_view description);

// The sums of the counted items and the cost text of each: a computed row
// (subtotal, tax with a rate) gets the amount it computes to, every other
// item keeps its cost text as typed.
struct ItemSums {
    double total = 0;
    std::vector<std::string> costs; // one per counted item
};

// The screen's sums while the user edits: a subtotal row's text is the
// general number text, and a tax rate is read from the description as stored.
ItemSums screenSums(const FormDocument& form);

// Everything the documents show beyond the record's own texts, computed
// together so that no writer can see values of another state of the form.
struct DocumentValues {
    std::string heading;         // "INVOICE", "RECEIPT", "ESTIMATE"
    std::string totalLabel;      // "Total due", "Total paid", "Estimated total"
    std::string closingSentence; // by form type; for a receipt, by what is still owed
    std::string longDate;        // the form date as "March 5, 2024"
    std::vector<std::string> notesLines;
    double totalRowAmount = 0; // the total, or for a receipt the amount paid
    ItemSums sums;             // a subtotal row's text is the money text
    ItemCostTexts printedCosts; // the money text of each item's cost
};

// The documents' values of a gathered form (items recounted).
DocumentValues documentValues(const FormDocument& form);

// The record as the form file keeps it: each computed row's cost is stored
// as the amount the documents show for it.
FormDocument withComputedCosts(FormDocument form, const ItemSums& sums);

} // namespace plaxet
