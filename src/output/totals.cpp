#include "output/totals.h"

#include "output/dates.h"
#include "runtime/codepage.h"
#include "runtime/numbers.h"
#include "runtime/text.h"

#include <algorithm>
#include <cstddef>
#include <string>

namespace plaxet {
namespace {

// The two variants of the item pass differ only in these two points.
enum class SubtotalText { Money, General };
enum class RateSource { TrimmedLowerCase, AsStored };

// Items 1..itemCount, never reaching past the lists even when the count is off.
size_t itemsInUse(const FormDocument& form) {
    if (form.itemCount <= 0) return 0;
    return std::min(
        {static_cast<size_t>(form.itemCount), form.itemDescriptions.size(), form.itemCosts.size()});
}

std::string normalisedDescription(std::string_view description) {
    return LCase(Trim(description));
}

// Trim without the copy: spaces (0x20) only, as Trim.
std::string_view trimSpaces(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Whether `text` begins with `lowerCasePrefix` once lower-cased as LCase does.
bool startsLowerCased(std::string_view text, std::string_view lowerCasePrefix) {
    if (text.size() < lowerCasePrefix.size()) return false;
    for (size_t i = 0; i < lowerCasePrefix.size(); ++i)
        if (ansiLower(static_cast<unsigned char>(text[i])) !=
            static_cast<unsigned char>(lowerCasePrefix[i]))
            return false;
    return true;
}

// Sums the items and writes the cost text of computed rows. Numbers read from
// text stay in extended precision until they are added to a sum; every sum
// and product is rounded to double when it is stored.
void sumItems(FormDocument& form, SubtotalText subtotalText, RateSource rateSource) {
    form.runningSubtotal = 0;
    form.total = 0;
    const size_t count = itemsInUse(form);
    for (size_t i = 0; i < count; ++i) {
        const std::string& description = form.itemDescriptions[i];
        std::string& cost = form.itemCosts[i];
        switch (rowKindOf(description)) {
        case RowKind::Subtotal:
            cost = subtotalText == SubtotalText::Money ? Format(form.runningSubtotal)
                                                       : Str(form.runningSubtotal);
            form.runningSubtotal = 0;
            break;
        case RowKind::Tax: {
            const long double rate = rateSource == RateSource::AsStored
                                         ? taxRateOf(description)
                                         : taxRateOf(normalisedDescription(description));
            if (rate != 0) {
                const double base = form.runningSubtotal != 0 ? form.runningSubtotal : form.total;
                form.lastTax = static_cast<double>(base * rate);
                cost = Str(form.lastTax);
            } else {
                // No rate stated: the typed cost is the tax amount.
                form.lastTax = static_cast<double>(Val(cost));
            }
            form.runningSubtotal += form.lastTax;
            form.total += form.lastTax;
            break;
        }
        case RowKind::Plain: {
            const long double value = Val(cost);
            form.runningSubtotal = static_cast<double>(form.runningSubtotal + value);
            form.total = static_cast<double>(form.total + value);
            break;
        }
        }
    }
}

const char* headingWordOf(int32_t formType) {
    switch (formType) {
    case kInvoice:
        return "INVOICE";
    case kReceipt:
        return "RECEIPT";
    case kEstimate:
        return "ESTIMATE";
    default:
        return "";
    }
}

const char* totalLabelOf(int32_t formType) {
    switch (formType) {
    case kInvoice:
        return "Total due";
    case kReceipt:
        return "Total paid";
    case kEstimate:
        return "Estimated total";
    default:
        return "";
    }
}

std::string receiptClosingSentence(double balance) {
    if (balance < 0) return "Overpaid " + Format(-balance) + ", please contact us";
    if (balance > 0) return Format(balance) + " is still owed, please remit balance";
    return "Total amount paid in full.";
}

void setTotalsRowAndClosing(FormDocument& form) {
    switch (form.formType) {
    case kInvoice:
        form.totalRowAmount = form.total;
        form.closingSentence = "Please remit the total amount due.";
        break;
    case kReceipt: {
        // A typed amount counts as it stands, so a text of blanks pays nothing.
        form.totalRowAmount =
            form.amountPaid.empty() ? form.total : static_cast<double>(Val(form.amountPaid));
        const double balance = form.total - form.totalRowAmount;
        form.closingSentence = receiptClosingSentence(balance);
        break;
    }
    case kEstimate:
        form.totalRowAmount = form.total;
        form.closingSentence = "This is an estimate of the proposed sales and services";
        break;
    default:
        break; // refused by Create Files before it gets here
    }
}

} // namespace

RowKind rowKindOf(std::string_view description) {
    // Called for every item by the totals and both writers: only the few bytes
    // that decide are lower-cased, and nothing is copied.
    const std::string_view d = trimSpaces(description);
    if (d.size() == 8 && startsLowerCased(d, "subtotal")) return RowKind::Subtotal;
    if (startsLowerCased(d, "tax")) return RowKind::Tax;
    return RowKind::Plain;
}

long double taxRateOf(std::string_view description) {
    const std::string field = ParseAny(description, ",()", 2);
    const long double rate = Val(field);
    if (!field.empty() && field.back() == '%') return static_cast<double>(rate / 100);
    return rate;
}

void computeTotals(FormDocument& form) {
    form.headingWord = headingWordOf(form.formType);
    if (!Trim(form.formDate).empty()) form.longDate = longDateText(form.formDate);
    form.totalLabel = totalLabelOf(form.formType);
    sumItems(form, SubtotalText::Money, RateSource::TrimmedLowerCase);
    setTotalsRowAndClosing(form);
    form.notesLines = ParseAll(form.notes, "\r\n");
}

void recalcItemTotals(FormDocument& form) {
    sumItems(form, SubtotalText::General, RateSource::AsStored);
}

} // namespace plaxet
