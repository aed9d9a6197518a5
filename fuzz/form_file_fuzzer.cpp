// Feeds arbitrary bytes to the form-file reader. Whatever it accepts must stay
// within the record's rules and survive being written and read again.
//
// An input that starts with the byte 0xB1 reaches the extension block, whose
// checksums no mutation would find by chance: after it come a 16-bit length
// n, n bytes of fields, and the block's entries (count and entries); the
// fuzzer wraps the entries in a block with the right signature, length and
// checksums and puts it after the fields. Any other input is read as it is.
#include "form/form_file.h"
#include "runtime/binary.h"
#include "runtime/codepage.h"
#include "runtime/crc32.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_checks.h"

using plaxet::fuzzing::require;
using plaxet::fuzzing::sameStoredFields;

namespace {

constexpr unsigned char kBlockMode = 0xB1;

std::string withWholeBlock(std::string_view input) {
    plaxet::ByteReader in{input, 1};
    const uint16_t fieldsLength = plaxet::readUInt16(in);
    const std::string fields = plaxet::readAvailable(in, fieldsLength);
    const std::string_view entries = input.substr(in.position);
    std::string block("PLXUTF8\x1A", 8);
    plaxet::putUInt16(block, 1);
    plaxet::putUInt32(block, static_cast<uint32_t>(8 + 2 + 4 + 4 + entries.size() + 4));
    plaxet::putUInt32(block, plaxet::crc32(fields));
    block += entries;
    plaxet::putUInt32(block, plaxet::crc32(block));
    return fields + block;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string file =
        size > 0 && data[0] == kBlockMode ? withWholeBlock(input) : std::string(input);
    const std::string_view bytes(file);
    plaxet::FormDocument form;
    form.addresseeLines = {"name", "address", "city", "phone"};
    const plaxet::FormFileResult result = plaxet::readFormFileBytes(bytes, form);
    if (!result.ok) {
        require(!result.error.empty());
        return 0;
    }
    // The date fills its field: ten bytes in the code page.
    require(plaxet::toCodePage(form.formDate).bytes.size() == plaxet::kFormDateLength);
    require(form.itemCount >= 0 && static_cast<size_t>(form.itemCount) == form.items.size());
    // Every stored item takes at least twelve bytes; only the last may be cut short.
    require(static_cast<size_t>(form.itemCount) <= bytes.size() / 12 + 1);

    const std::string written = plaxet::formFileBytes(form);
    plaxet::FormDocument again;
    require(plaxet::readFormFileBytes(written, again).ok);
    require(sameStoredFields(form, again));
    require(plaxet::formFileBytes(again) == written);
    return 0;
}
