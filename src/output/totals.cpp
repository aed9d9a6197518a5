#include "output/totals.h"

#include "form/item_sums.h"
#include "output/dates.h"
#include "runtime/numbers.h"
#include "runtime/text.h"

#include <cstddef>
#include <string>
#include <utility>

namespace plaxet {
namespace {
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

void setTotalsRowAndClosing(const FormDocument& form, DocumentValues& values) {
    const double total = values.sums.total;
    switch (form.formType) {
    case kInvoice:
        values.totalRowAmount = total;
        values.closingSentence = "Please remit the total amount due.";
        break;
    case kReceipt: {
        // A typed amount counts as it stands, so a text of blanks pays nothing.
        values.totalRowAmount =
            form.amountPaid.empty() ? total : static_cast<double>(Val(form.amountPaid));
        values.closingSentence = receiptClosingSentence(total - values.totalRowAmount);
        break;
    }
    case kEstimate:
        values.totalRowAmount = total;
        values.closingSentence = "This is an estimate of the proposed sales and services";
        break;
    default:
        break; // refused by Create Files before it gets here
    }
}

} // namespace

DocumentValues documentValues(const FormDocument& form) {
    DocumentValues values;
    values.heading = headingWordOf(form.formType);
    if (!Trim(form.formDate).empty()) values.longDate = longDateText(form.formDate);
    values.totalLabel = totalLabelOf(form.formType);
    values.sums = documentSums(form);
    values.printedCosts = itemCostTexts(values.sums.costs);
    setTotalsRowAndClosing(form, values);
    values.notesLines = ParseAll(form.notes, "\r\n");
    return values;
}

} // namespace plaxet
