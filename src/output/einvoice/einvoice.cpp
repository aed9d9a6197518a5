#include "output/einvoice/einvoice.h"

#include "form/invoice_dates.h"
#include "form/item_sums.h"
#include "output/document_items.h"
#include "runtime/numbers.h"
#include "runtime/text.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <map>
#include <string_view>
#include <utility>

namespace plaxet {
namespace {

// mm/dd/yyyy as yyyymmdd, the e-invoice's date; empty for a text that is no date.
std::string compactDate(std::string_view formDate) {
    const std::optional<CivilDate> date = parseFormDate(formDate);
    if (!date) return {};
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", static_cast<int>(date->year),
                  static_cast<int>(date->month), static_cast<int>(date->day));
    return text;
}

// The cents of a money text as the documents print it ("-12.34"); nothing
// for a text that is not one (an amount too large to print as cents).
std::optional<int64_t> centsOf(std::string_view money) {
    money = TrimView(money);
    bool negative = false;
    if (!money.empty() && money.front() == '-') {
        negative = true;
        money.remove_prefix(1);
    }
    const size_t point = money.find('.');
    if (point == std::string_view::npos || point == 0 || money.size() != point + 3 || point > 15)
        return std::nullopt;
    int64_t cents = 0;
    for (size_t i = 0; i < money.size(); ++i) {
        if (i == point) continue;
        if (money[i] < '0' || money[i] > '9') return std::nullopt;
        cents = cents * 10 + (money[i] - '0');
    }
    return negative ? -cents : cents;
}

// The rate as a percentage with at most four decimals, without trailing
// zeros ("19", "7.5"): a rate read as 0.19 is 19.000000000000004 times 100.
std::string percentText(long double rate) {
    const long long tenThousandths = std::llround(static_cast<double>(rate * 1000000));
    std::string text = std::to_string(tenThousandths / 10000);
    long long fraction = tenThousandths % 10000;
    if (fraction == 0) return text;
    std::string decimals = std::to_string(fraction);
    decimals.insert(0, 4 - decimals.size(), '0');
    while (decimals.back() == '0') decimals.pop_back();
    return text + "." + decimals;
}

// "a", "a and b", "a, b and c".
std::string listed(const std::vector<std::string>& names) {
    std::string list;
    for (size_t i = 0; i < names.size(); ++i)
        list += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return list;
}

std::string quoted(std::string_view description) {
    return "\xE2\x80\x9C" + std::string(TrimView(description)) + "\xE2\x80\x9D";
}

std::string rowName(size_t index, const FormDocument& form) {
    return "Item " + std::to_string(index + 1) + " (" + quoted(form.items[index].description) + ")";
}

// What the form and the business details must give, named where the user
// sets it; empty when everything is there.
std::vector<std::string> missingDetails(const FormDocument& form, const DocumentValues& values,
                                        const BusinessDetails& business, bool xrechnung) {
    std::vector<std::string> missing;
    const auto need = [&missing](const std::string& value, const char* what) {
        if (Trim(value).empty()) missing.emplace_back(what);
    };
    need(form.number, "the invoice number");
    need(business.currency, "the currency (Business Details)");
    need(business.country, "the seller's country (Business Details)");
    need(form.buyer.country, "the buyer's country (Buyer Details)");
    // The buyer must be able to tell the seller apart (a VAT ID or a seller
    // identifier), and VAT needs the seller's VAT ID or tax number.
    if (Trim(business.vatId).empty()) {
        const bool noTaxNumber = Trim(business.taxNumber).empty();
        const bool noSellerId = Trim(business.sellerId).empty();
        if (noTaxNumber && noSellerId)
            missing.emplace_back("a VAT ID, or else a tax number and a seller identifier "
                                 "(Business Details)");
        else if (noSellerId)
            missing.emplace_back("a VAT ID or a seller identifier beside the tax number "
                                 "(Business Details)");
        else if (noTaxNumber)
            missing.emplace_back("a VAT ID or a tax number beside the seller identifier "
                                 "(Business Details)");
    }
    if (values.sums.total > 0 && compactDate(form.dueDate).empty() &&
        Trim(business.paymentTerms).empty())
        missing.emplace_back("a due date or payment terms");
    if (!xrechnung) return missing;
    need(business.postcode, "the seller's postcode (Business Details)");
    need(business.city, "the seller's city (Business Details)");
    need(business.email, "the seller's e-mail (Business Details)");
    need(business.contact, "the seller's contact person (Business Details)");
    need(business.phone, "the seller's phone (Business Details)");
    need(business.iban, "the IBAN (Business Details)");
    need(form.buyer.postcode, "the buyer's postcode (Buyer Details)");
    need(form.buyer.city, "the buyer's city (Buyer Details)");
    need(form.buyer.email, "the buyer's e-mail (Buyer Details)");
    return missing;
}

// How the rows map onto lines and VAT rates, as the documents compute them
// (form/item_sums.h): a tax row taxes the running subtotal since the last
// subtotal row, or everything above it when that subtotal is zero. Each tax
// row is one rate over the plain items it taxes; an e-invoice cannot say a
// tax on a tax, a tax without a rate, or items left untaxed beside taxed ones.
struct RowMapping {
    std::vector<EInvoiceLine> lines;
    std::vector<EInvoiceVatBreakdown> breakdown;
    std::string problem;
};

RowMapping mapRows(const FormDocument& form, const DocumentValues& values,
                   const BusinessDetails& business) {
    RowMapping mapping;
    const bool exempt = business.vat == "exempt";
    const size_t count = std::min(countedItems(form), values.printedCosts.ends.size());
    struct Row {
        RowKind kind = RowKind::Plain;
        int64_t cents = 0;
        std::string ratePercent; // a plain row: the rate of the tax row taxing it
    };
    std::vector<Row> rows(count);
    std::vector<size_t> sinceSubtotal, above;
    // The documents' running subtotal in their own arithmetic, as only its
    // being zero decides what a tax row taxes.
    double runningSubtotal = 0;
    std::map<std::string, EInvoiceVatBreakdown> rates;
    for (size_t i = 0; i < count; ++i) {
        const std::string& description = form.items[i].description;
        const std::string_view printed = costText(values.printedCosts, i);
        rows[i].kind = rowKindOf(description);
        if (rows[i].kind == RowKind::Subtotal) {
            sinceSubtotal.clear();
            runningSubtotal = 0;
            continue;
        }
        const std::optional<int64_t> cents = centsOf(printed);
        if (!cents) {
            mapping.problem = rowName(i, form) + " has an amount too large for an e-invoice.";
            return mapping;
        }
        rows[i].cents = *cents;
        if (rows[i].kind == RowKind::Tax) {
            if (exempt) {
                mapping.problem = rowName(i, form) +
                                  " is a tax row, but the business details say the business "
                                  "is exempt from VAT.";
                return mapping;
            }
            const long double rate = taxRateOf(LCase(Trim(description)));
            if (!(rate > 0)) {
                mapping.problem = rowName(i, form) +
                                  " states no VAT rate, so the e-invoice cannot say which VAT it "
                                  "is: write the rate into it, as in " +
                                  quoted("Tax (19%)") + ".";
                return mapping;
            }
            const std::vector<size_t>& taxed = runningSubtotal != 0 ? sinceSubtotal : above;
            std::string percent = percentText(rate);
            EInvoiceVatBreakdown& entry = rates[percent];
            entry.vat = {"S", percent};
            for (size_t t : taxed) {
                if (rows[t].kind != RowKind::Tax) continue;
                mapping.problem =
                    rowName(i, form) + " taxes the tax of item " + std::to_string(t + 1) +
                    ", which an e-invoice cannot say: a Subtotal row after item " +
                    std::to_string(t + 1) + " makes the next tax row tax only the items after it.";
                return mapping;
            }
            bool taxesAnItem = false;
            for (size_t t : taxed) {
                if (!rows[t].ratePercent.empty()) {
                    mapping.problem = rowName(t, form) + " is taxed twice.";
                    return mapping;
                }
                rows[t].ratePercent = percent;
                entry.basisCents += rows[t].cents;
                taxesAnItem = true;
            }
            if (!taxesAnItem) {
                mapping.problem = rowName(i, form) + " taxes no items.";
                return mapping;
            }
            entry.taxCents += rows[i].cents;
        }
        sinceSubtotal.push_back(i);
        above.push_back(i);
        runningSubtotal =
            static_cast<double>(runningSubtotal + Val(printed)); // as the documents add it
    }

    const bool anyTaxRow = !rates.empty();
    int64_t exemptBasis = 0;
    for (size_t i = 0; i < count; ++i) {
        if (rows[i].kind != RowKind::Plain) continue;
        const std::string name = Trim(form.items[i].description);
        if (name.empty()) {
            mapping.problem = "Item " + std::to_string(i + 1) +
                              " has no description, which a line of an e-invoice needs.";
            return mapping;
        }
        if (!exempt && rows[i].ratePercent.empty()) {
            mapping.problem =
                anyTaxRow ? rowName(i, form) +
                                " is taxed by no tax row, while other items are: an e-invoice "
                                "puts every item under one VAT rate."
                          : "The invoice has no tax row, so it does not say its VAT: add one "
                            "such as " +
                                quoted("Tax (19%)") +
                                ", or mark the business as exempt from VAT in Business Details.";
            return mapping;
        }
        EInvoiceLine line;
        line.row = static_cast<int32_t>(i + 1);
        line.name = name;
        line.amountCents = rows[i].cents;
        line.date = compactDate(form.items[i].date);
        line.vat =
            exempt ? EInvoiceVatCategory{"E", "0"} : EInvoiceVatCategory{"S", rows[i].ratePercent};
        exemptBasis += rows[i].cents;
        mapping.lines.push_back(std::move(line));
    }
    if (mapping.lines.empty()) {
        mapping.problem = "The invoice has no items, only computed rows.";
        return mapping;
    }
    if (exempt) {
        mapping.breakdown.push_back({{"E", "0"}, exemptBasis, 0, Trim(business.exemptionReason)});
        return mapping;
    }
    // Rates in the order they first appear on the form.
    std::vector<std::string> order;
    for (const EInvoiceLine& line : mapping.lines)
        if (std::find(order.begin(), order.end(), line.vat.ratePercent) == order.end())
            order.push_back(line.vat.ratePercent);
    for (const std::string& percent : order) mapping.breakdown.push_back(rates[percent]);
    return mapping;
}

EInvoiceParty sellerOf(const FormDocument& form, const BusinessDetails& business) {
    EInvoiceParty seller;
    seller.name = Trim(business.name.empty() ? form.senderLines[0] : business.name);
    seller.street = Trim(business.street);
    seller.postcode = Trim(business.postcode);
    seller.city = Trim(business.city);
    seller.country = Trim(business.country);
    seller.vatId = Trim(business.vatId);
    seller.taxNumber = Trim(business.taxNumber);
    seller.id = Trim(business.sellerId);
    seller.email = Trim(business.email);
    seller.contactName = Trim(business.contact);
    seller.contactPhone = Trim(business.phone);
    seller.contactEmail = seller.email;
    return seller;
}

EInvoiceParty buyerOf(const FormDocument& form) {
    EInvoiceParty buyer;
    buyer.name = Trim(form.addresseeLines[0]);
    buyer.street = Trim(form.buyer.street);
    buyer.postcode = Trim(form.buyer.postcode);
    buyer.city = Trim(form.buyer.city);
    buyer.country = Trim(form.buyer.country);
    buyer.vatId = Trim(form.buyer.vatId);
    buyer.email = Trim(form.buyer.email);
    return buyer;
}

} // namespace

EInvoiceResult eInvoiceOf(const FormDocument& form, const DocumentValues& values,
                          const BusinessDetails& business) {
    if (form.formType != kInvoice)
        return {std::nullopt, "Only an invoice can be an e-invoice, and this form is a " +
                                  LCase(formTypeName(form.formType)) + "."};
    EInvoice invoice;
    invoice.buyerReference = Trim(form.buyer.reference);
    invoice.xrechnung = !invoice.buyerReference.empty();
    const std::vector<std::string> missing =
        missingDetails(form, values, business, invoice.xrechnung);
    if (!missing.empty())
        return {std::nullopt,
                (invoice.xrechnung ? "An XRechnung (which the buyer reference asks for) needs "
                                   : "An e-invoice needs ") +
                    listed(missing) + "."};
    invoice.issueDate = compactDate(form.formDate);
    if (invoice.issueDate.empty())
        return {std::nullopt, "An e-invoice needs the form date as a date."};

    RowMapping mapping = mapRows(form, values, business);
    if (!mapping.problem.empty()) return {std::nullopt, mapping.problem};
    invoice.lines = std::move(mapping.lines);
    invoice.vatBreakdown = std::move(mapping.breakdown);
    for (const EInvoiceLine& line : invoice.lines) invoice.lineTotalCents += line.amountCents;
    for (const EInvoiceVatBreakdown& entry : invoice.vatBreakdown)
        invoice.taxTotalCents += entry.taxCents;
    invoice.grandTotalCents = invoice.lineTotalCents + invoice.taxTotalCents;
    // The rows' printed amounts add up to the printed total; should a row's
    // text ever round apart from what the total took of it, the e-invoice
    // would disagree with the documents, so there is none.
    const std::optional<int64_t> printedTotal = centsOf(Format(values.totalRowAmount));
    if (!printedTotal || *printedTotal != invoice.grandTotalCents)
        return {std::nullopt, "The rows' amounts do not add up to the total the documents print ("
                              "a cent apart in their rounding), so no e-invoice can match "
                              "them."};

    invoice.number = Trim(form.number);
    invoice.dueDate = compactDate(form.dueDate);
    // The delivery date is the form's; without one, the issue date, as an
    // e-invoice without any delivery date draws warnings from its checks.
    invoice.deliveryDate = compactDate(form.deliveryDate);
    if (invoice.deliveryDate.empty()) invoice.deliveryDate = invoice.issueDate;
    invoice.currency = Trim(business.currency);
    invoice.paymentTerms = Trim(business.paymentTerms);
    invoice.note = Trim(form.notes);
    invoice.seller = sellerOf(form, business);
    invoice.buyer = buyerOf(form);
    invoice.iban = Remove(Trim(business.iban), " ");
    invoice.bic = Trim(business.bic);
    return {std::move(invoice), {}};
}

std::string eInvoiceStandardName(const EInvoice& invoice) {
    return invoice.xrechnung ? "XRechnung 3.0" : "EN 16931";
}

} // namespace plaxet
