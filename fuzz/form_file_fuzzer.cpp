// Feeds arbitrary bytes to the form-file reader. Whatever it accepts must stay
// within the record's rules and survive being written and read again.
#include "form/form_file.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_checks.h"

using plaxet::fuzzing::require;
using plaxet::fuzzing::sameStoredFields;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    plaxet::FormDocument form;
    form.addresseeLines = {"name", "address", "city", "phone"};
    const plaxet::FormFileResult result = plaxet::readFormFileBytes(bytes, form);
    if (!result.ok) {
        require(!result.error.empty());
        return 0;
    }
    require(form.formDate.size() == plaxet::kFormDateLength);
    require(form.itemCount >= 0 && static_cast<size_t>(form.itemCount) == form.items.size());
    // Every stored item takes at least twelve bytes; only the last may be cut short.
    require(static_cast<size_t>(form.itemCount) <= size / 12 + 1);

    const std::string written = plaxet::formFileBytes(form);
    plaxet::FormDocument again;
    require(plaxet::readFormFileBytes(written, again).ok);
    require(sameStoredFields(form, again));
    require(plaxet::formFileBytes(again) == written);
    return 0;
}
