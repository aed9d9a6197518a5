#include "form/form_document.h"

#include "runtime/codepage.h"
#include "runtime/text.h"
#include "runtime/utf8.h"

#include <algorithm>

namespace plaxet {
namespace {

bool isSpacesOnly(const std::string& s) {
    return s.find_first_not_of(' ') == std::string::npos;
}

bool isBlank(const Item& item) {
    return isSpacesOnly(item.description) && isSpacesOnly(item.cost);
}

bool isCountedItem(const FormDocument& form, int32_t item) {
    return item >= 1 && static_cast<size_t>(item) <= countedItems(form);
}

// Whether `text` begins with `lowerCasePrefix` once lower-cased as LCase does.
bool startsLowerCased(std::string_view text, std::string_view lowerCasePrefix) {
    if (text.size() < lowerCasePrefix.size()) return false;
    const std::string_view start = text.substr(0, lowerCasePrefix.size());
    if (!isAscii(start)) return LCase(start) == lowerCasePrefix;
    for (size_t i = 0; i < start.size(); ++i) {
        const char c = start[i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c) != lowerCasePrefix[i])
            return false;
    }
    return true;
}

} // namespace

std::string_view formTypeName(int32_t formType) {
    switch (formType) {
    case kInvoice:
        return "Invoice";
    case kReceipt:
        return "Receipt";
    case kEstimate:
        return "Estimate";
    default:
        return {};
    }
}

void setFormDate(FormDocument& form, std::string_view text) {
    // Whole characters while their bytes in the code page fit the file's field.
    size_t bytesInPage = 0;
    size_t end = 0;
    while (end < text.size()) {
        size_t next = end;
        nextCodePoint(text, next);
        const size_t characterBytes =
            next - end == 1 ? 1 : toCodePage(text.substr(end, next - end)).bytes.size();
        if (bytesInPage + characterBytes > kFormDateLength) break;
        bytesInPage += characterBytes;
        end = next;
    }
    form.formDate.assign(text.substr(0, end));
    form.formDate.append(kFormDateLength - bytesInPage, ' ');
}

const Item& itemAt(const FormDocument& form, int32_t item) {
    static const Item blank;
    if (item < 1 || static_cast<size_t>(item) > form.items.size()) return blank;
    return form.items[static_cast<size_t>(item - 1)];
}

Item& editItem(FormDocument& form, int32_t item) {
    const auto at = static_cast<size_t>(std::max(item, 1));
    if (form.items.size() < at) form.items.resize(at);
    return form.items[at - 1];
}

size_t countedItems(const FormDocument& form) {
    return std::min(static_cast<size_t>(std::max(form.itemCount, 0)), form.items.size());
}

void recountItems(FormDocument& form) {
    std::erase_if(form.items, isBlank);
    form.itemCount = static_cast<int32_t>(form.items.size());
}

bool clearItem(FormDocument& form, int32_t item) {
    if (!isCountedItem(form, item)) return false;
    form.items[static_cast<size_t>(item - 1)] = Item();
    return true;
}

bool insertItem(FormDocument& form, int32_t item) {
    if (!isCountedItem(form, item)) return false;
    form.items.insert(form.items.begin() + (item - 1), Item());
    form.itemCount += 1;
    return true;
}

bool deleteItem(FormDocument& form, int32_t item) {
    if (!isCountedItem(form, item)) return false;
    form.items.erase(form.items.begin() + (item - 1));
    form.itemCount -= 1;
    return true;
}

void clearItems(FormDocument& form) {
    form.items.clear();
    form.itemCount = 0;
}

RowKind rowKindOf(std::string_view description) {
    // Called for every item by the totals and both writers: only the few bytes
    // that decide are lower-cased, and nothing is copied.
    const std::string_view d = TrimView(description);
    if (d.size() == 8 && startsLowerCased(d, "subtotal")) return RowKind::Subtotal;
    if (startsLowerCased(d, "tax")) return RowKind::Tax;
    return RowKind::Plain;
}

void resetForNewForm(FormDocument& form, EditorState& editor) {
    for (std::string& line : form.addresseeLines) line.clear();
    clearItems(form);
    form.notes.clear();
    // A new form takes its own number and dates, and the customer's details
    // go with the addressee.
    form.number.clear();
    form.dueDate.clear();
    form.deliveryDate.clear();
    form.buyer = Buyer();
    form.formType = kInvoice;
    editor.currentFilePath.clear();
    editor.changed = false;
}

} // namespace plaxet
