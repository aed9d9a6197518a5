#pragma once
// Small helpers to fill in a form for the output tests.
#include "form/form_document.h"

#include <string>
#include <vector>

namespace plaxet::testing {

struct Item {
    std::string date;
    std::string description;
    std::string cost;
};

// Appends the items after the ones in use, growing the lists as the editor does.
inline void addItems(FormDocument& form, const std::vector<Item>& items) {
    for (const Item& item : items) {
        const auto at = static_cast<size_t>(form.itemCount);
        ++form.itemCount;
        ensureCapacity(form);
        form.itemDates[at] = item.date;
        form.itemDescriptions[at] = item.description;
        form.itemCosts[at] = item.cost;
    }
}

inline FormDocument formOfType(int32_t formType, const std::vector<Item>& items = {}) {
    FormDocument form;
    form.formType = formType;
    addItems(form, items);
    return form;
}

inline const std::string& costOf(const FormDocument& form, int32_t item) {
    return form.itemCosts[static_cast<size_t>(item - 1)];
}

} // namespace plaxet::testing
