#pragma once
// What the fuzzers check of a form they got from a reader.
#include <cstdlib>

#include "form/form_document.h"

namespace plaxet::fuzzing {

// A fuzzer reports a broken rule by stopping the process.
inline void require(bool condition) {
    if (!condition) std::abort();
}

// Whether two forms hold the same fields that the form file and the JSON
// form keep: the letterhead and a receipt's amount live elsewhere.
inline bool sameStoredFields(const FormDocument& a, const FormDocument& b) {
    if (a.formDate != b.formDate || a.addresseeLines != b.addresseeLines ||
        a.formType != b.formType || a.itemCount != b.itemCount || a.notes != b.notes)
        return false;
    for (int32_t item = 1; item <= a.itemCount; ++item) {
        const Item& x = itemAt(a, item);
        const Item& y = itemAt(b, item);
        if (x.date != y.date || x.description != y.description || x.cost != y.cost) return false;
    }
    return true;
}

} // namespace plaxet::fuzzing
