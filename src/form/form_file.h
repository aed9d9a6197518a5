#pragma once
// The form file: one form without its sender lines and amount paid, in a
// little-endian layout with no header:
//   form date    10 bytes, padded with spaces
//   item count   int32 N
//   addressee    4 short-counted texts: name, address, city/state/zip, phone
//                (uint16 length; 0xFFFF and a uint32 length from 65535 bytes on)
//   form type    int32
//   items 1..N   3 long-counted texts each (int32 length): date, description, cost
//   notes        one long-counted text
// Texts are in the ANSI code page. When some text does not fit it, the field
// holds the nearest text the code page allows, and an extension block after
// the notes holds the exact texts in UTF-8 (docs/FORM-FILE.md); otherwise
// nothing follows the notes. The number, due and delivery dates and the
// customer's details have no classic field: they are kept in a second block
// after the first (docs/FORM-FILE.md). Other bytes after the notes are not
// part of the form.
#include "form/form_document.h"
#include "runtime/file.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace plaxet {

// The file's bytes for items 1..itemCount of the form.
std::string formFileBytes(const FormDocument& form);

struct FormFileResult {
    bool ok = false;
    std::string error; // why the file was refused or could not be read
};

// Reads a form file's bytes into the record. A file that ends early loads as
// far as it goes; a file with a negative count or length is refused and the
// record is left as it was (see form_file.cpp for the exact rules).
FormFileResult readFormFileBytes(std::string_view bytes, FormDocument& form);

// Reads the form file at `path` into the record.
FormFileResult loadFormFile(const std::string& path, FormDocument& form);

enum class SaveOutcome { Saved, NothingToSave, Failed };
struct FormSaveResult {
    SaveOutcome outcome = SaveOutcome::Failed;
    std::string error;
};

// Saves the gathered form into the file at `path`. A form that had no items
// before the gathering step recounted them is not saved at all: the caller
// passes `itemCount` as the editing commands left it, taken before it
// recounts the items. A failed save leaves the previous file as it was and
// says why.
FormSaveResult saveFormFile(const std::string& path, const FormDocument& form, int32_t itemCount);

// Writes the form file at path, replacing an existing one only once the new
// content is complete. A read-only file is not overwritten.
ReplaceResult writeFormFile(const FormDocument& form, const std::string& path);

} // namespace plaxet
