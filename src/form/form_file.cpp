#include "form/form_file.h"

#include "runtime/binary.h"

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
};

// A long-counted text: its bytes as far as the file holds them. A negative
// length cannot come from a save nor from a file cut short; it marks a file
// that is not a form file.
bool readLongCounted(ByteReader& in, std::string& text, const std::string& what,
                     std::string& error) {
    const int32_t length = readInt32(in);
    if (length < 0) {
        error = what + " has a negative length (" + std::to_string(length) + ")";
        return false;
    }
    text = readAvailable(in, static_cast<size_t>(length));
    return true;
}

std::string itemText(int32_t item, const char* column) {
    return std::string("the ") + column + " of item " + std::to_string(item);
}

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
    for (int32_t item = 1; item <= count && remainingBytes(in) > 0; ++item) {
        Item read;
        if (!readLongCounted(in, read.date, itemText(item, "date"), error) ||
            !readLongCounted(in, read.description, itemText(item, "description"), error) ||
            !readLongCounted(in, read.cost, itemText(item, "cost"), error))
            return false;
        content.items.push_back(std::move(read));
    }
    return readLongCounted(in, content.notes, "the notes", error);
}

void applyContent(FormFileContent& content, FormDocument& form) {
    setFormDate(form, content.date);
    for (size_t k = 0; k < content.addressee.size(); ++k)
        if (content.addressee[k]) form.addresseeLines[k] = std::move(*content.addressee[k]);
    form.formType = content.formType;

    form.itemCount = static_cast<int32_t>(content.items.size());
    form.items = std::move(content.items);
    form.notes = std::move(content.notes);
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
    std::string date = form.formDate.substr(0, kFormDateLength);
    date.resize(kFormDateLength, ' ');
    out += date;
    putInt32(out, static_cast<int32_t>(count));
    for (const std::string& line : form.addresseeLines) putShortCounted(out, line);
    putInt32(out, form.formType);
    for (size_t i = 0; i < count; ++i) {
        putLongCounted(out, form.items[i].date);
        putLongCounted(out, form.items[i].description);
        putLongCounted(out, form.items[i].cost);
    }
    putLongCounted(out, form.notes);
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
