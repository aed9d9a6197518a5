#include "form/form_document.h"

#include "runtime/text.h"

namespace plaxet {
namespace {

bool isSpacesOnly(const std::string& s) {
    return s.find_first_not_of(' ') == std::string::npos;
}

void resizeLists(FormDocument& form, int32_t capacity) {
    form.itemCapacity = capacity;
    form.itemDates.resize(static_cast<size_t>(capacity));
    form.itemDescriptions.resize(static_cast<size_t>(capacity));
    form.itemCosts.resize(static_cast<size_t>(capacity));
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
    form.formDate.assign(text.substr(0, kFormDateLength));
    form.formDate.resize(kFormDateLength, ' ');
}

bool isBlankItem(const FormDocument& form, int32_t item) {
    if (item < 1 || item > form.itemCapacity) return true;
    const auto i = static_cast<size_t>(item - 1);
    return isSpacesOnly(form.itemDescriptions[i]) && isSpacesOnly(form.itemCosts[i]);
}

void ensureCapacity(FormDocument& form) {
    int32_t capacity = form.itemCapacity;
    while (form.itemCount > capacity - kItemHeadroom) capacity += kItemCapacityStep;
    if (capacity != form.itemCapacity) resizeLists(form, capacity);
}

void compactItems(FormDocument& form) {
    size_t kept = 0;
    for (int32_t item = 1; item <= form.itemCapacity; ++item) {
        if (isBlankItem(form, item)) continue;
        const auto from = static_cast<size_t>(item - 1);
        if (from != kept) {
            form.itemDates[kept] = std::move(form.itemDates[from]);
            form.itemDescriptions[kept] = std::move(form.itemDescriptions[from]);
            form.itemCosts[kept] = std::move(form.itemCosts[from]);
        }
        ++kept;
    }
    // Entries beyond the items in use are blank: a blank item's date goes too.
    for (size_t i = kept; i < static_cast<size_t>(form.itemCapacity); ++i) {
        form.itemDates[i].clear();
        form.itemDescriptions[i].clear();
        form.itemCosts[i].clear();
    }
}

void recountItems(FormDocument& form) {
    compactItems(form);
    int32_t count = 0;
    while (count < form.itemCapacity && !isBlankItem(form, count + 1)) ++count;
    form.itemCount = count;
}

namespace {

bool isCountedItem(const FormDocument& form, int32_t item) {
    return item >= 1 && item <= form.itemCount && item <= form.itemCapacity;
}

std::array<std::vector<std::string>*, 3> itemLists(FormDocument& form) {
    return {&form.itemDates, &form.itemDescriptions, &form.itemCosts};
}

} // namespace

bool clearItem(FormDocument& form, int32_t item) {
    if (!isCountedItem(form, item)) return false;
    for (auto* list : itemLists(form)) (*list)[static_cast<size_t>(item - 1)].clear();
    return true;
}

bool insertItem(FormDocument& form, int32_t item) {
    if (!isCountedItem(form, item)) return false;
    form.itemCount += 1;
    ensureCapacity(form);
    // The last entry, blank by the growth rule, drops off the end.
    for (auto* list : itemLists(form)) {
        list->pop_back();
        list->insert(list->begin() + (item - 1), std::string());
    }
    return true;
}

bool deleteItem(FormDocument& form, int32_t item) {
    if (!isCountedItem(form, item)) return false;
    for (auto* list : itemLists(form)) {
        list->erase(list->begin() + (item - 1));
        list->emplace_back();
    }
    form.itemCount -= 1;
    return true;
}

void clearItems(FormDocument& form) {
    for (auto* list : itemLists(form))
        for (std::string& text : *list) text.clear();
    form.itemCount = 0;
}

bool namesComputedRow(std::string_view description) {
    const std::string lower = LCase(description);
    return lower == "subtotal" || lower.starts_with("tax");
}

RowCompletion rowCompletion(const FormDocument& form, int32_t item, bool costCellLeft) {
    if (item < 1 || item > form.itemCapacity) return RowCompletion::None;
    const auto i = static_cast<size_t>(item - 1);
    const std::string& description = form.itemDescriptions[i];
    if (namesComputedRow(description)) return RowCompletion::ComputedRow;
    if (costCellLeft && item > form.itemCount && !description.empty() &&
        !form.itemCosts[i].empty())
        return RowCompletion::PlainRow;
    return RowCompletion::None;
}

void countThrough(FormDocument& form, int32_t item) {
    if (item <= form.itemCount) return;
    form.itemCount = item;
    ensureCapacity(form);
}

void resetForNewForm(FormDocument& form, EditorState& editor) {
    for (std::string& line : form.addresseeLines) line.clear();
    clearItems(form);
    form.notes.clear();
    form.formType = kInvoice;
    editor.topItem = 1;
    editor.currentFilePath.clear();
    editor.changed = false;
}

} // namespace plaxet
