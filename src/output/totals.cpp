#include "output/totals.h"

#include "form/item_sums.h"
#include "output/dates.h"
#include "output/payment_code.h"
#include "runtime/numbers.h"
#include "runtime/text.h"

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

const char* numberLabelOf(int32_t formType) {
    switch (formType) {
    case kInvoice:
        return "Invoice No. ";
    case kReceipt:
        return "Receipt No. ";
    case kEstimate:
        return "Estimate No. ";
    default:
        return "No. ";
    }
}

// The texts joined by `between`, leaving out the empty ones.
std::string joined(std::initializer_list<std::string_view> texts, std::string_view between) {
    std::string out;
    for (std::string_view text : texts) {
        if (text.empty()) continue;
        if (!out.empty()) out += between;
        out += text;
    }
    return out;
}

std::string labelled(std::string_view label, const std::string& value) {
    return value.empty() ? std::string() : std::string(label) + value;
}

void addIfSet(std::vector<std::string>& lines, std::string line) {
    if (!line.empty()) lines.push_back(std::move(line));
}

// The seller as the law asks an invoice to name it: legal name and address,
// the VAT identifier (or, without one, the tax number) and the bank. Nothing
// when the details say none of it; the name is the letterhead's first line
// when the details give no legal name.
std::vector<std::string> footerLinesOf(const BusinessDetails& business, const FormDocument& form) {
    std::vector<std::string> lines;
    const std::string place = joined({business.postcode, business.city}, " ");
    const std::string address = joined({business.street, place, business.country}, ", ");
    const std::string taxId = business.vatId.empty() ? labelled("Tax number: ", business.taxNumber)
                                                     : labelled("VAT ID: ", business.vatId);
    const std::string bank =
        joined({labelled("IBAN: ", business.iban), labelled("BIC: ", business.bic)}, ", ");
    if (address.empty() && taxId.empty() && bank.empty() && business.name.empty()) return lines;
    const std::string& name = business.name.empty() ? form.senderLines[0] : business.name;
    addIfSet(lines, joined({name, address}, ", "));
    addIfSet(lines, taxId);
    addIfSet(lines, bank);
    return lines;
}

void setInvoiceDetails(const FormDocument& form, const BusinessDetails& business,
                       DocumentValues& values) {
    if (!Trim(form.number).empty()) values.numberLine = numberLabelOf(form.formType) + form.number;
    if (!Trim(form.dueDate).empty()) values.dueLine = "Due by " + longDateText(form.dueDate);
    addIfSet(values.buyerLines, labelled("VAT ID: ", form.buyer.vatId));
    addIfSet(values.buyerLines, labelled("Your reference: ", form.buyer.reference));
    // Payment terms ask for money, which only an invoice does.
    if (form.formType == kInvoice) addIfSet(values.termsLines, business.paymentTerms);
    if (business.vat == "exempt") addIfSet(values.termsLines, business.exemptionReason);
    values.footerLines = footerLinesOf(business, form);
    const std::string payment = paymentCodeText(business, form, values.totalRowAmount);
    if (!payment.empty()) values.paymentCode = encodeQr(payment);
}

} // namespace

DocumentValues documentValues(const FormDocument& form, const BusinessDetails& business) {
    DocumentValues values;
    values.heading = headingWordOf(form.formType);
    if (!Trim(form.formDate).empty()) values.longDate = longDateText(form.formDate);
    values.totalLabel = totalLabelOf(form.formType);
    values.sums = documentSums(form);
    values.printedCosts = itemCostTexts(values.sums.costs);
    setTotalsRowAndClosing(form, values);
    values.notesLines = ParseAll(form.notes, "\r\n");
    setInvoiceDetails(form, business, values);
    return values;
}

} // namespace plaxet
