#pragma once
// Create Files: the checks a form must pass before its documents are
// written, where the documents go, and the writing itself. The Windows shell
// and plaxet-cli run the same command (runCreateFiles); only the save before
// the writing differs, and each hands in its own.
#include "form/form_document.h"
#include "output/document_kinds.h"
#include "output/document_settings.h"
#include "output/totals.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace plaxet {

enum class CreateFilesStatus {
    Ok,              // checks passed, or documents written
    InvalidFormDate, // "invalid date"
    NoSender,        // "Must include sender"
    NoAddressee,     // "Must at least include addressee"
    NoFormDate,      // "Must have form date"
    NoItems,         // "Must include some items"
    NoFormType,      // "Must specify form type"
    InvalidItemDate, // "Invalid date for item" and the item's number
    NoFormFile,      // the form has no file to put the documents beside (the window,
                     // where Save As was just cancelled, ends without a message)
    BadFormFileName, // the documents would replace the form file or leave its folder
    WriteFailed,     // a document could not be written
    FileHeld,        // another program holds the form file or a document open
};

// What the user is told: a message box's title and text, and for a refused
// item date the item's number, so the shell can move the focus to its cell.
struct CreateFilesResult {
    CreateFilesStatus status = CreateFilesStatus::Ok;
    std::string title;
    std::string message;
    int32_t item = 0;
};

// The checks, in order: the date box's text (an empty text passes here and is
// refused later as a missing date), the sender, the addressee name, the form
// date, the items, the form type (1..3; 0 for none chosen), then each item's
// date, which is trimmed and, when valid, rewritten in place as mm/dd/yyyy.
// The first failure ends the checks.
CreateFilesResult checkFormAndRewriteItemDates(FormDocument& form, std::string_view dateText,
                                               int32_t formType);

// Before anything is replaced: a refusal naming the first of the files
// Create Files would replace (the form file when `formFileToo`, then the
// documents) that another program holds open, after waiting about a second
// for it to be let go; Ok when none is held. So a held file leaves the form
// file and the documents as they were.
CreateFilesResult checkNoFileHeld(const std::string& formPath, bool formFileToo);

// Writes every kind of document (kDocumentKinds: the RTF, the HTML, the PDF
// and, for an invoice that can be said as one, the e-invoice NAME.xml, whose
// XML the PDF then carries too) beside the form file, from a gathered form and
// its values (documentValues). An invoice that cannot be an e-invoice gets
// its documents and a sentence saying why there is no e-invoice; an earlier
// NAME.xml beside documents written without one is removed, as it would no
// longer match them. Earlier documents, read-only or not, are replaced only by
// complete new ones; a document that cannot be written ends the command with
// WriteFailed and its reason, never with the message that the documents were
// created, and where some were put in place before another failed, the
// message says which are new and which are not. The values are taken over:
// the e-invoice's XML, which runs to megabytes, joins them.
CreateFilesResult writeFormDocuments(const FormDocument& form, DocumentValues values,
                                     const std::string& formPath, const DocumentSettings& settings);

// The save before the documents are written, as the caller keeps the form:
// returns the form file to put the documents beside, or nothing when the
// command is to end without a further message (the save was cancelled, or
// it failed or was refused and has said why).
using SaveBeforeWriting = std::function<std::optional<std::string>(FormDocument&)>;

// The whole command: the checks (on `dateText` as typed, so that an empty
// date and one that is not a date are told apart, and on the record's form
// type), the save, the item count, the totals, the documents. A missing
// save result ends it with NoFormFile and an empty message.
CreateFilesResult runCreateFiles(FormDocument& form, std::string_view dateText,
                                 const SaveBeforeWriting& save, const DocumentSettings& settings);

// The command on a record with no window behind it, on its own form date:
// the form file is neither saved nor changed.
CreateFilesResult createFilesHeadless(FormDocument& form, const std::string& formPath,
                                      const DocumentSettings& settings = {});

} // namespace plaxet
