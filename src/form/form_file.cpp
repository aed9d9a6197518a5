#include "form/form_file.h"

#include "runtime/binary.h"
#include "runtime/codepage.h"
#include "runtime/crc32.h"
#include "runtime/utf8.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace plaxet {
namespace {

constexpr size_t kIntSize = 4;
constexpr size_t kItemLengthsSize = 3 * kIntSize;

void putLongCounted(std::string& out, std::string_view text) {
    putInt32(out, static_cast<int32_t>(text.size()));
    out += text;
}

size_t shortCountedSize(const std::string& text) {
    return (text.size() < 0xFFFF ? 2 : 6) + text.size();
}

// What a form file holds, read in full before any of it reaches the record,
// so that a refused file changes nothing.
struct FormFileContent {
    std::string date;
    std::array<std::optional<std::string>, 4> addressee; // empty: beyond the end of the file
    int32_t formType = 0;
    std::vector<Item> items;
    std::string notes;
    // Kept only in the extension block, so empty for an older file.
    std::string number;
    std::string dueDate;
    std::string deliveryDate;
    Buyer buyer;
};

// A long-counted text: its bytes as far as the file holds them. A negative
// length cannot come from a save nor from a file cut short; it marks a file
// that is not a form file.
// `what` names the text for the message, and is asked only for one.
template <typename Name>
bool readLongCounted(ByteReader& in, std::string& text, const Name& what, std::string& error) {
    const int32_t length = readInt32(in);
    if (length < 0) {
        error = what() + " has a negative length (" + std::to_string(length) + ")";
        return false;
    }
    text = readAvailable(in, static_cast<size_t>(length));
    return true;
}

auto itemText(int32_t item, const char* column) {
    return [=] { return std::string("the ") + column + " of item " + std::to_string(item); };
}

// Each stored item takes at least its three lengths.
constexpr size_t kSmallestItemSize = 12;

// The file's rules, and how damaged files are met:
// - A file that ends early loads as far as it goes: a number whose bytes run
//   past the end gets zeros for the missing ones, a text gets the bytes that
//   are there, and addressee lines that start beyond the end keep their
//   previous values. A form date cut short is padded with spaces, like any
//   form date. The notes get only the bytes that are there: zero bytes in
//   their place would be invisible characters the notes box cannot show.
// - Items that start beyond the end of the file are not loaded, so the count
//   is at most the number of items the file really holds. Those items could
//   only be blank, and a damaged count would otherwise ask for any amount of
//   memory; each stored item takes at least twelve bytes, so the list never
//   grows beyond what the file's size allows.
// - A negative item count or text length is refused with a message naming
//   it: no save writes one and no file cut short makes one.
bool readContent(ByteReader& in, FormFileContent& content, std::string& error) {
    content.date = readAvailable(in, kFormDateLength);
    const int32_t count = readInt32(in);
    if (count < 0) {
        error = "the item count is negative (" + std::to_string(count) + ")";
        return false;
    }
    for (std::optional<std::string>& line : content.addressee) {
        if (remainingBytes(in) == 0) break;
        const uint32_t length = readShortCount(in);
        line = readAvailable(in, length);
    }
    content.formType = readInt32(in);
    content.items.reserve(
        std::min(static_cast<size_t>(count), remainingBytes(in) / kSmallestItemSize + 1));
    for (int32_t item = 1; item <= count && remainingBytes(in) > 0; ++item) {
        Item read;
        if (!readLongCounted(in, read.date, itemText(item, "date"), error) ||
            !readLongCounted(in, read.description, itemText(item, "description"), error) ||
            !readLongCounted(in, read.cost, itemText(item, "cost"), error))
            return false;
        content.items.push_back(std::move(read));
    }
    return readLongCounted(
        in, content.notes, [] { return std::string("the notes"); }, error);
}

void applyContent(FormFileContent& content, FormDocument& form) {
    setFormDate(form, content.date);
    for (size_t k = 0; k < content.addressee.size(); ++k)
        if (content.addressee[k]) form.addresseeLines[k] = std::move(*content.addressee[k]);
    form.formType = content.formType;

    form.itemCount = static_cast<int32_t>(content.items.size());
    form.items = std::move(content.items);
    form.notes = std::move(content.notes);
    form.number = std::move(content.number);
    form.dueDate = std::move(content.dueDate);
    form.deliveryDate = std::move(content.deliveryDate);
    form.buyer = std::move(content.buyer);
}

// The extension block (see docs/FORM-FILE.md): the exact UTF-8 texts of
// the fields that the code page could not hold, after the notes.
constexpr std::string_view kBlockSignature{"PLXUTF8\x1A", 8};
constexpr uint16_t kBlockVersion = 1;
// Signature, version, length, fields' checksum, entry count ... block CRC.
constexpr size_t kBlockHeaderSize = 8 + 2 + 4 + 4 + 4;
constexpr size_t kBlockTrailerSize = 4;
constexpr size_t kEntryHeaderSize = 1 + 4 + 4;

enum class FieldKind : uint8_t {
    FormDate = 1,
    AddresseeLine = 2, // index: line 1..4
    ItemDate = 3,      // index: item 1..N
    ItemDescription = 4,
    ItemCost = 5,
    Notes = 6,
    // Fields that have no place among the classic ones; index 0. They go
    // into a block of their own after the exact texts' block, so an older
    // reader, which refuses a block with a kind it does not know, still
    // takes the exact texts and passes over these.
    Number = 7,
    DueDate = 8,
    DeliveryDate = 9,
    BuyerCountry = 10,
    BuyerPostcode = 11,
    BuyerCity = 12,
    BuyerStreet = 13,
    BuyerVatId = 14,
    BuyerReference = 15,
    BuyerEmail = 16,
};

// The texts of the fields kept only in the extension block, by kind.
template <typename Content> auto* extraField(Content& content, FieldKind kind) {
    switch (kind) {
    case FieldKind::Number:
        return &content.number;
    case FieldKind::DueDate:
        return &content.dueDate;
    case FieldKind::DeliveryDate:
        return &content.deliveryDate;
    case FieldKind::BuyerCountry:
        return &content.buyer.country;
    case FieldKind::BuyerPostcode:
        return &content.buyer.postcode;
    case FieldKind::BuyerCity:
        return &content.buyer.city;
    case FieldKind::BuyerStreet:
        return &content.buyer.street;
    case FieldKind::BuyerVatId:
        return &content.buyer.vatId;
    case FieldKind::BuyerReference:
        return &content.buyer.reference;
    case FieldKind::BuyerEmail:
        return &content.buyer.email;
    default:
        return static_cast<decltype(&content.number)>(nullptr);
    }
}

constexpr std::array kExtraKinds = {
    FieldKind::Number,       FieldKind::DueDate,       FieldKind::DeliveryDate,
    FieldKind::BuyerCountry, FieldKind::BuyerPostcode, FieldKind::BuyerCity,
    FieldKind::BuyerStreet,  FieldKind::BuyerVatId,    FieldKind::BuyerReference,
    FieldKind::BuyerEmail,
};

struct ExactText {
    FieldKind kind;
    uint32_t index; // 0 for the form date and the notes
    std::string text;
};

void appendExtensionBlock(std::string& out, const std::vector<ExactText>& exactTexts) {
    const uint32_t fieldsChecksum = crc32(out);
    std::string block(kBlockSignature);
    putUInt16(block, kBlockVersion);
    size_t length = kBlockHeaderSize + kBlockTrailerSize;
    for (const ExactText& exact : exactTexts) length += kEntryHeaderSize + exact.text.size();
    putUInt32(block, static_cast<uint32_t>(length));
    putUInt32(block, fieldsChecksum);
    putUInt32(block, static_cast<uint32_t>(exactTexts.size()));
    for (const ExactText& exact : exactTexts) {
        block += static_cast<char>(exact.kind);
        putUInt32(block, exact.index);
        putUInt32(block, static_cast<uint32_t>(exact.text.size()));
        block += exact.text;
    }
    putUInt32(block, crc32(block));
    out += block;
}

// Whether a field that an entry names is one the fields hold.
bool namesField(const FormFileContent& content, FieldKind kind, uint32_t index) {
    switch (kind) {
    case FieldKind::FormDate:
    case FieldKind::Notes:
        return index == 0;
    case FieldKind::AddresseeLine:
        return index >= 1 && index <= content.addressee.size() && content.addressee[index - 1];
    case FieldKind::ItemDate:
    case FieldKind::ItemDescription:
    case FieldKind::ItemCost:
        return index >= 1 && index <= content.items.size();
    default:
        return index == 0 && extraField(content, kind) != nullptr;
    }
}

std::string& fieldText(FormFileContent& content, const ExactText& exact) {
    switch (exact.kind) {
    case FieldKind::FormDate:
        return content.date;
    case FieldKind::AddresseeLine:
        return *content.addressee[exact.index - 1];
    case FieldKind::ItemDate:
        return content.items[exact.index - 1].date;
    case FieldKind::ItemDescription:
        return content.items[exact.index - 1].description;
    case FieldKind::ItemCost:
        return content.items[exact.index - 1].cost;
    case FieldKind::Notes:
        break;
    default:
        return *extraField(content, exact.kind);
    }
    return content.notes;
}

// The exact texts of a block that starts at `at`, right after the notes:
// only when the block is whole (signature, version, length and its own
// CRC), was written for exactly these fields (their checksum), and every
// entry names a field of the form with well-formed UTF-8. Anything else,
// such as the stale tail an older program leaves behind shorter fields,
// is no block, and the form loads from its fields.
struct ExtensionBlock {
    std::vector<ExactText> exactTexts;
    size_t length = 0;
};
std::optional<ExtensionBlock> readExtensionBlock(std::string_view bytes, size_t at,
                                                 const FormFileContent& content) {
    const std::string_view rest = bytes.substr(at);
    if (rest.size() < kBlockHeaderSize + kBlockTrailerSize ||
        rest.substr(0, kBlockSignature.size()) != kBlockSignature)
        return std::nullopt;
    ByteReader in{rest, kBlockSignature.size()};
    if (readUInt16(in) != kBlockVersion) return std::nullopt;
    const uint32_t length = readUInt32(in);
    if (length < kBlockHeaderSize + kBlockTrailerSize || length > rest.size()) return std::nullopt;
    const std::string_view block = rest.substr(0, length - kBlockTrailerSize);
    ByteReader trailer{rest, block.size()};
    if (readUInt32(trailer) != crc32(block)) return std::nullopt;
    if (readUInt32(in) != crc32(bytes.substr(0, at))) return std::nullopt;

    in.data = block;
    const uint32_t count = readUInt32(in);
    if (count > remainingBytes(in) / kEntryHeaderSize) return std::nullopt;
    std::vector<ExactText> exactTexts;
    exactTexts.reserve(count);
    for (uint32_t n = 0; n < count; ++n) {
        if (remainingBytes(in) < kEntryHeaderSize) return std::nullopt;
        const auto kind =
            static_cast<FieldKind>(static_cast<unsigned char>(readAvailable(in, 1)[0]));
        const uint32_t index = readUInt32(in);
        const uint32_t textLength = readUInt32(in);
        if (textLength > remainingBytes(in) || !namesField(content, kind, index))
            return std::nullopt;
        std::string text = readAvailable(in, textLength);
        if (!isValidUtf8(text)) return std::nullopt;
        exactTexts.push_back({kind, index, std::move(text)});
    }
    if (remainingBytes(in) != 0) return std::nullopt;
    return ExtensionBlock{std::move(exactTexts), length};
}

// The fields hold the code page; the record, UTF-8. Every code page holds
// ASCII as it is, so most texts stay as they were read.
void textFromCodePage(std::string& text) {
    if (!isAscii(text)) text = fromCodePage(text);
}

void textsFromCodePage(FormFileContent& content) {
    textFromCodePage(content.date);
    for (std::optional<std::string>& line : content.addressee)
        if (line) textFromCodePage(*line);
    for (Item& item : content.items) {
        textFromCodePage(item.date);
        textFromCodePage(item.description);
        textFromCodePage(item.cost);
    }
    textFromCodePage(content.notes);
}

} // namespace

std::string formFileBytes(const FormDocument& form) {
    const size_t count = countedItems(form);
    size_t size = kFormDateLength + kIntSize + kIntSize + kIntSize + form.notes.size();
    for (const std::string& line : form.addresseeLines) size += shortCountedSize(line);
    for (size_t i = 0; i < count; ++i) {
        const Item& item = form.items[i];
        size += kItemLengthsSize + item.date.size() + item.description.size() + item.cost.size();
    }

    std::string out;
    out.reserve(size);
    std::vector<ExactText> exactTexts;
    // Each text in the code page; the exact text of one that does not fit is
    // kept for the extension block.
    const auto inPage = [&](const std::string& text, FieldKind kind, uint32_t index) {
        CodePageText converted = toCodePage(text);
        if (!converted.exact) exactTexts.push_back({kind, index, text});
        return std::move(converted.bytes);
    };
    std::string date = inPage(form.formDate, FieldKind::FormDate, 0).substr(0, kFormDateLength);
    date.resize(kFormDateLength, ' ');
    out += date;
    putInt32(out, static_cast<int32_t>(count));
    for (uint32_t k = 0; k < form.addresseeLines.size(); ++k)
        putShortCounted(out, inPage(form.addresseeLines[k], FieldKind::AddresseeLine, k + 1));
    putInt32(out, form.formType);
    for (size_t i = 0; i < count; ++i) {
        const auto item = static_cast<uint32_t>(i + 1);
        putLongCounted(out, inPage(form.items[i].date, FieldKind::ItemDate, item));
        putLongCounted(out, inPage(form.items[i].description, FieldKind::ItemDescription, item));
        putLongCounted(out, inPage(form.items[i].cost, FieldKind::ItemCost, item));
    }
    putLongCounted(out, inPage(form.notes, FieldKind::Notes, 0));
    if (!exactTexts.empty()) appendExtensionBlock(out, exactTexts);
    // The fields without a classic place, in a block of their own, so that
    // a form that sets none of them stays what it always was.
    std::vector<ExactText> extras;
    for (const FieldKind kind : kExtraKinds)
        if (const std::string& text = *extraField(form, kind); !text.empty())
            extras.push_back({kind, 0, text});
    if (!extras.empty()) appendExtensionBlock(out, extras);
    return out;
}

FormFileResult readFormFileBytes(std::string_view bytes, FormDocument& form) {
    ByteReader in{bytes};
    FormFileContent content;
    FormFileResult result;
    if (!readContent(in, content, result.error)) {
        result.error = "not a form file: " + result.error;
        return result;
    }
    textsFromCodePage(content);
    // The blocks follow one another: each one's checksum of the bytes
    // before it covers the fields and every block before it.
    for (size_t at = in.position; !in.pastEnd && at < bytes.size();) {
        std::optional<ExtensionBlock> block = readExtensionBlock(bytes, at, content);
        if (!block) break;
        for (ExactText& exact : block->exactTexts)
            fieldText(content, exact) = std::move(exact.text);
        at += block->length;
    }
    applyContent(content, form);
    result.ok = true;
    return result;
}

FormFileResult loadFormFile(const std::string& path, FormDocument& form) {
    const std::optional<std::string> bytes = readWholeFile(path);
    if (!bytes) return {false, "cannot read " + path};
    FormFileResult result = readFormFileBytes(*bytes, form);
    if (!result.ok) result.error = path + " is " + result.error;
    return result;
}

ReplaceResult writeFormFile(const FormDocument& form, const std::string& path) {
    if (path.empty()) return {false, "the form has no file name"};
    if (fileExists(path) && isReadOnly(path))
        return {false, "cannot save " + path + ": the file is read-only"};
    return replaceFileContents(path, formFileBytes(form));
}

FormSaveResult saveFormFile(const std::string& path, const FormDocument& form, int32_t itemCount) {
    if (itemCount == 0) return {SaveOutcome::NothingToSave, {}};
    const ReplaceResult written = writeFormFile(form, path);
    if (!written.ok) return {SaveOutcome::Failed, written.error};
    return {SaveOutcome::Saved, {}};
}

} // namespace plaxet
