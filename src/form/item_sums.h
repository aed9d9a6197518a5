#pragma once
// The sums of a form's items: the grand total and the cost texts of computed
// rows (subtotal and tax rows). The same arithmetic serves the grid while the
// user edits and the documents, in two variants that differ in how a
// subtotal row reads and where a tax rate is read from.
#include "form/form_document.h"

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
// The documents' sums: a subtotal row's text is the money text, and a tax
// rate is read from the description trimmed and lower-cased.
ItemSums documentSums(const FormDocument& form);

// The record as the form file keeps it: each computed row's cost is stored
// as the amount the documents show for it.
FormDocument withComputedCosts(FormDocument form, const ItemSums& sums);

} // namespace plaxet
