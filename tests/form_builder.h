#pragma once
// Small helpers to fill in a form for the tests.
#include "form/business_details.h"
#include "form/form_document.h"
#include "output/document_kinds.h"
#include "runtime/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace plaxet::testing {

// Sets item `item` (1-based) without counting it.
inline void setItem(FormDocument& form, int32_t item, std::string date, std::string description,
                    std::string cost) {
    editItem(form, item) = {std::move(date), std::move(description), std::move(cost)};
}

// Appends the items after the ones in use, and counts them.
inline void addItems(FormDocument& form, const std::vector<Item>& items) {
    for (const Item& item : items) editItem(form, ++form.itemCount) = item;
}

inline FormDocument formOfType(int32_t formType, const std::vector<Item>& items = {}) {
    FormDocument form;
    form.formType = formType;
    addItems(form, items);
    return form;
}

// Spaces-only or empty description and cost.
inline bool isBlankItem(const FormDocument& form, int32_t item) {
    const Item& entry = itemAt(form, item);
    return TrimView(entry.description).empty() && TrimView(entry.cost).empty();
}

inline const std::string& costOf(const FormDocument& form, int32_t item) {
    return itemAt(form, item).cost;
}

// The invoice of Ann's Garden to Bob Lee: one item, empty notes.
inline FormDocument gardenInvoice() {
    FormDocument form = formOfType(kInvoice, {{"01/02/2007", "Mowing", "40"}});
    form.senderLines[0] = "Ann's Garden";
    form.addresseeLines = {"Bob Lee", "1 Elm St", "Springfield", "555 0199"};
    setFormDate(form, "01/05/2007");
    return form;
}

// The first of `wanted` that is not among `lines` after the one before it;
// empty when all are there in that order.
inline std::string missingInOrder(const std::vector<std::string>& lines,
                                  const std::vector<std::string>& wanted) {
    auto at = lines.begin();
    for (const std::string& line : wanted) {
        at = std::find(at, lines.end(), line);
        if (at == lines.end()) return line;
    }
    return {};
}

// The same invoice with everything a VAT invoice adds: its number, due date
// and the buyer's tax details.
inline FormDocument numberedGardenInvoice() {
    FormDocument form = gardenInvoice();
    form.number = "2007-0042";
    form.dueDate = "02/04/2007";
    form.buyer.vatId = "DE123456789";
    form.buyer.reference = "PO 77";
    return form;
}

// Ann's Garden's business details for that invoice.
inline BusinessDetails gardenBusiness() {
    BusinessDetails business;
    business.name = "Ann's Garden Ltd";
    business.street = "2 Oak Rd";
    business.postcode = "10115";
    business.city = "Berlin";
    business.country = "DE";
    business.vatId = "DE987654321";
    business.iban = "DE89370400440532013000";
    business.bic = "COBADEFFXXX";
    business.paymentTerms = "Payable within 30 days.";
    return business;
}

inline void append(std::vector<std::string>& lines, const std::vector<std::string>& more) {
    lines.insert(lines.end(), more.begin(), more.end());
}

// A document's lines, without their CR LF.
inline std::vector<std::string> linesOf(const std::string& document) {
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t at; (at = document.find("\r\n", from)) != std::string::npos; from = at + 2)
        lines.push_back(document.substr(from, at - from));
    EXPECT_EQ(from, document.size()) << "text after the last line end";
    return lines;
}

// The bytes of a document with these lines, each ending in CR LF.
inline std::string documentOf(const std::vector<std::string>& lines) {
    std::string document;
    for (const std::string& line : lines) document += line + "\r\n";
    return document;
}

// The documents beside a form file, by kind.
struct DocumentPaths {
    std::string rtf, html, pdf;
};
inline DocumentPaths documentPaths(const std::string& formPath) {
    return {documentPath(formPath, DocumentKind::Rtf), documentPath(formPath, DocumentKind::Html),
            documentPath(formPath, DocumentKind::Pdf)};
}

} // namespace plaxet::testing
