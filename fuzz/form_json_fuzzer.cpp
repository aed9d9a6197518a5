// Feeds arbitrary bytes to the JSON form reader of `plaxet-cli make`. It must
// either refuse them with a message or fill a form that keeps the record's
// rules, comes back unchanged from its own JSON, and survives the form file.
#include "cli/form_json.h"
#include "form/form_file.h"
#include "runtime/codepage.h"

#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_checks.h"

using plaxet::fuzzing::require;
using plaxet::fuzzing::sameStoredFields;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string json(reinterpret_cast<const char*>(data), size);
    plaxet::FormDocument form;
    std::string error;
    // Whatever the input, the reader answers; an exception escaping here is a fault.
    if (!plaxet::cli::formFromJson(json, form, error)) {
        require(!error.empty());
        return 0;
    }
    require(error.empty());
    // The date fills its field: ten bytes in the code page.
    require(plaxet::toCodePage(form.formDate).bytes.size() == plaxet::kFormDateLength);
    require(form.itemCount >= 0 && static_cast<size_t>(form.itemCount) <= form.items.size());

    // The JSON written for the form reads back as the same form.
    plaxet::FormDocument again;
    std::string againError;
    require(plaxet::cli::formFromJson(plaxet::cli::formToJson(form), again, againError));
    require(sameStoredFields(form, again));

    // And so does the form file made from it, as `make` writes it.
    plaxet::FormDocument loaded;
    require(plaxet::readFormFileBytes(plaxet::formFileBytes(form), loaded).ok);
    require(sameStoredFields(form, loaded));
    return 0;
}
