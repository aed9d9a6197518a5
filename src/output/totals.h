#pragma once
// Totals and wording: turns the item list into the running subtotal and grand
// total, fills in the cost text of computed rows (subtotal and tax rows), and
// chooses the heading word, totals label and closing sentence of the documents.
#include "form/form_document.h"

#include <string_view>

namespace plaxet {

enum class RowKind { Plain, Subtotal, Tax };

// A description that, trimmed of spaces and lower-cased, is "subtotal" makes a
// subtotal row; one that begins with "tax" makes a tax row; anything else
// (blank descriptions included) is a plain row.
RowKind rowKindOf(std::string_view description);

// The rate stated in a tax description: the number in the second field when
// the text is cut at ",", "(" and ")"; a trailing "%" makes it a percentage,
// otherwise it is a factor ("tax (7%)" and "tax (0.07)" give the same rate).
// 0 when the description states no rate.
long double taxRateOf(std::string_view description);

// The output computation, run by the gathering step before a save and before
// the documents are written: sets every derived value of the form (sums,
// totals row amount, heading word, totals label, closing sentence, long date,
// notes lines) and rewrites the cost text of every computed row.
void computeTotals(FormDocument& form);

// The arithmetic of the screen recalculation while the user edits: sets
// runningSubtotal, total and lastTax and rewrites the cost text of computed
// rows. Unlike computeTotals, a subtotal row gets the general number text and
// a tax rate is read from the description exactly as stored.
void recalcItemTotals(FormDocument& form);

} // namespace plaxet
