#pragma once
// Small helpers to fill in a form for the tests.
#include "form/form_document.h"
#include "output/document_kinds.h"
#include "runtime/text.h"

#include <gtest/gtest.h>

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
