#pragma once
// The items as both documents print them, so the RTF and HTML writers read
// the form the same way.
#include "form/form_document.h"

#include <cstddef>
#include <string_view>

namespace plaxet {

struct DocumentItem {
    std::string_view date;
    std::string_view description; // trimmed of spaces
    bool computed = false;        // a subtotal or tax row, set flush right
};

// Items 1..itemCount, never reaching past the lists even when the count is off.
size_t documentItemCount(const FormDocument& form);

// The item at `index` (0-based, below documentItemCount). Its views point
// into the form.
DocumentItem documentItem(const FormDocument& form, size_t index);

} // namespace plaxet
