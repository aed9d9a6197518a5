#pragma once
// The sender file: the six letterhead lines shared by every form, one text
// line each (CR LF at the end of every line), nothing else. The lines are in
// the code page; when one of them holds a character the code page does not,
// the whole file is UTF-8 and begins with the byte-order mark EF BB BF (a
// marked file that is not well-formed UTF-8 is read in the code page).
#include "form/form_document.h"
#include "runtime/file.h"

#include <string>

namespace plaxet {

// Reads the six lines into form.senderLines; lines the file lacks become
// empty. False, with the lines untouched, when there is no file to read.
bool loadSenderLines(FormDocument& form, const std::string& path);

// Writes the six lines, creating the data folder first when it is missing.
// The file is replaced only once the new content has been written in full;
// a read-only file or an unwritable folder is reported, not passed over.
ReplaceResult saveSenderLines(const FormDocument& form, const std::string& path);

} // namespace plaxet
