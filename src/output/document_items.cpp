#include "output/document_items.h"

#include "runtime/numbers.h"
#include "runtime/text.h"

namespace plaxet {

DocumentItem documentItem(const FormDocument& form, size_t index) {
    const Item& item = form.items[index];
    const std::string_view description = TrimView(item.description);
    return {item.date, description, rowKindOf(description) != RowKind::Plain};
}

ItemCostTexts itemCostTexts(const std::vector<std::string>& costs) {
    ItemCostTexts printed;
    printed.texts.reserve(costs.size() * 8); // "1234.50" and its like
    printed.ends.reserve(costs.size());
    for (const std::string& cost : costs) {
        printed.texts += Format(static_cast<double>(Val(cost)));
        printed.ends.push_back(printed.texts.size());
    }
    return printed;
}

std::string_view costText(const ItemCostTexts& costs, size_t index) {
    const size_t start = index == 0 ? 0 : costs.ends[index - 1];
    return std::string_view(costs.texts).substr(start, costs.ends[index] - start);
}

} // namespace plaxet
