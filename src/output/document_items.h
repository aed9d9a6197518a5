#pragma once
// The items as both documents print them, so the RTF and HTML writers read
// the form the same way.
#include "form/form_document.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace plaxet {

struct DocumentItem {
    std::string_view date;
    std::string_view description; // trimmed of spaces
    bool computed = false;        // a subtotal or tax row, set flush right
};

// The item at `index` (0-based, below countedItems). Its views point into the form.
DocumentItem documentItem(const FormDocument& form, size_t index);

// Every item's cost as the documents print it: the money text ("0.00") of the
// number its cost text reads as. Made once, it serves both documents.
struct ItemCostTexts {
    std::string texts;        // the items' texts one after the other
    std::vector<size_t> ends; // where each item's text ends in `texts`
};
ItemCostTexts itemCostTexts(const std::vector<std::string>& costs);

// The money text of the item at `index` (below costs.ends.size()).
std::string_view costText(const ItemCostTexts& costs, size_t index);

} // namespace plaxet
