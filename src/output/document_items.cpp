#include "output/document_items.h"

#include "output/totals.h"

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

} // namespace plaxet
