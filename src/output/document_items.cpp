#include "output/document_items.h"

#include "output/totals.h"
#include "runtime/numbers.h"

#include <algorithm>

namespace plaxet {

size_t documentItemCount(const FormDocument& form) {
    if (form.itemCount <= 0) return 0;
    return std::min({static_cast<size_t>(form.itemCount), form.itemDates.size(),
                     form.itemDescriptions.size(), form.itemCosts.size()});
}

DocumentItem documentItem(const FormDocument& form, size_t index) {
    // Trimmed as Trim does (spaces only), without copying the text.
    std::string_view description = form.itemDescriptions[index];
    const size_t first = description.find_first_not_of(' ');
    description = first == std::string_view::npos
                      ? std::string_view()
                      : description.substr(first, description.find_last_not_of(' ') - first + 1);
    return {form.itemDates[index], description, rowKindOf(description) != RowKind::Plain};
}

ItemCostTexts itemCostTexts(const FormDocument& form) {
    const size_t items = documentItemCount(form);
    ItemCostTexts costs;
    costs.texts.reserve(items * 8); // "1234.50" and its like
    costs.ends.reserve(items);
    for (size_t i = 0; i < items; ++i) {
        costs.texts += Format(static_cast<double>(Val(form.itemCosts[i])));
        costs.ends.push_back(costs.texts.size());
    }
    return costs;
}

std::string_view costText(const ItemCostTexts& costs, size_t index) {
    const size_t start = index == 0 ? 0 : costs.ends[index - 1];
    return std::string_view(costs.texts).substr(start, costs.ends[index] - start);
}

} // namespace plaxet
