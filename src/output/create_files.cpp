#include "output/create_files.h"

#include "output/dates.h"
#include "output/einvoice/cii_xml.h"
#include "output/einvoice/einvoice.h"
#include "output/totals.h"
#include "runtime/file.h"
#include "runtime/numbers.h"
#include "runtime/paths.h"
#include "runtime/text.h"
#include "runtime/utf8.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace plaxet {
namespace {

constexpr const char* kCheckTitle = "Create RTF & HTM files";

CreateFilesResult refusal(CreateFilesStatus status, std::string message,
                          const char* title = kCheckTitle) {
    return {status, title, std::move(message), 0};
}

// The last three characters are the extension's, so they must lie within the
// file name; and no document may take the form file's own name.
bool documentsFitBeside(const std::string& formPath) {
    if (Len(fileNamePart(formPath)) <= 3) return false;
    return std::none_of(kDocumentKinds.begin(), kDocumentKinds.end(),
                        [&](const DocumentKindInfo& kind) {
                            return samePathText(formPath, documentPath(formPath, kind.kind));
                        });
}

// "a", "a and b", "a, b and c".
std::string listed(const std::vector<std::string>& names) {
    std::string list;
    for (size_t i = 0; i < names.size(); ++i)
        list += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return list;
}

// A replace that stopped part-way: the documents it put in place are new;
// the one that failed and those after it are as they were, where an earlier
// one still shows the form as it was then. The message says which are which.
std::string partlyWrittenMessage(const std::vector<FileReplacement>& files,
                                 const std::vector<std::string>& labels,
                                 const ReplaceResult& written, const std::string& formPath) {
    std::vector<std::string> created, notCreated, earlier;
    for (size_t i = 0; i < files.size(); ++i) {
        const std::string& path = files[i].path;
        const bool placed =
            std::find(written.placed.begin(), written.placed.end(), path) != written.placed.end();
        (placed ? created : notCreated).push_back(labels[i]);
        if (!placed && fileExists(path)) earlier.push_back(fileNamePart(path));
    }
    const auto one = [](const std::vector<std::string>& names, const char* single,
                        const char* several) { return names.size() == 1 ? single : several; };
    std::string message = "The " + listed(created) + one(created, " file has", " files have") +
                          " been created at:\r\n\r\n" + folderPart(formPath) + "\r\n\r\nThe " +
                          listed(notCreated) + one(notCreated, " file was", " files were") +
                          " not created";
    if (!earlier.empty())
        message += " (" + listed(earlier) +
                   one(earlier, " is still the earlier one)", " are still the earlier ones)");
    return message + ": " + written.error;
}

// What the PDF could not draw as typed, said once after writing: the
// characters, and what gives them a font.
std::string undrawnNote(const std::vector<uint32_t>& characters) {
    if (characters.empty()) return {};
    constexpr size_t kShown = 20;
    std::string shown;
    for (size_t i = 0; i < characters.size() && i < kShown; ++i) {
        shown += i == 0 ? "" : ", ";
        appendUtf8(shown, characters[i]);
        shown += " (" + codePointName(characters[i]) + ")";
    }
    if (characters.size() > kShown)
        shown += " and " + std::to_string(characters.size() - kShown) + " more";
    return "\r\n\r\nThe PDF shows " + shown +
           " as a box or a stand-in, as no font on this computer has " +
           (characters.size() == 1 ? "it" : "them") +
           ". Installing a font for that script and creating the files again draws " +
           (characters.size() == 1 ? "it." : "them.");
}

// The e-invoice of an invoice: its XML, for its own file and the PDF, and
// the standard it follows; or why the form cannot be one. Receipts and
// estimates are not invoices and get neither.
struct EInvoiceOutcome {
    ContentProducer xml;
    std::string standard;
    std::string problem;
};

// An invoice whose business details and form hold nothing an e-invoice is
// made of (no seller's details, number or buyer's details) is one the user
// never meant as an e-invoice: its message stays as it always was.
bool meantAsEInvoice(const FormDocument& form, const BusinessDetails& business) {
    for (const std::string* field :
         {&business.name, &business.country, &business.vatId, &business.taxNumber,
          &business.sellerId, &business.currency, &business.iban, &form.number})
        if (!Trim(*field).empty()) return true;
    return form.buyer != Buyer();
}

EInvoiceOutcome eInvoiceOutcome(const FormDocument& form, const DocumentValues& values,
                                const BusinessDetails& business) {
    // A form without any of the details is not looked at: it could not be
    // one, and a long invoice would pay for finding that out.
    if (form.formType != kInvoice || !meantAsEInvoice(form, business)) return {};
    EInvoiceResult result = eInvoiceOf(form, values, business);
    if (!result.invoice) return {{}, {}, result.problem};
    std::string standard = eInvoiceStandardName(*result.invoice);
    auto invoice = std::make_shared<const EInvoice>(std::move(*result.invoice));
    return {[invoice](const ContentSink& sink) { writeCiiXml(*invoice, sink); },
            std::move(standard),
            {}};
}

// An e-invoice from an earlier run no longer matches documents written
// without one, so it goes once they are in place. Its removal is told after
// the sentence saying why there is no e-invoice, and only there: a receipt or
// an estimate has no e-invoice to speak of. A removal that fails is always told.
std::string removeStaleEInvoice(const std::string& path, bool afterWhyNone) {
    if (!fileExists(path)) return {};
    if (removeFile(path))
        return afterWhyNone ? " The earlier " + fileNamePart(path) +
                                  " was removed, as it no longer matched the form."
                            : std::string();
    return "\r\n\r\nThe earlier e-invoice " + path +
           " could not be removed and no longer matches the form: delete it.";
}

} // namespace

CreateFilesResult checkFormAndRewriteItemDates(FormDocument& form, std::string_view dateText,
                                               int32_t formType) {
    if (!dateText.empty()) {
        std::string date(dateText);
        if (validateDate(date) != 0)
            return refusal(CreateFilesStatus::InvalidFormDate, "invalid date", "ERROR");
    }
    if (form.senderLines[0].empty())
        return refusal(CreateFilesStatus::NoSender, "Must include sender");
    if (form.addresseeLines[0].empty())
        return refusal(CreateFilesStatus::NoAddressee, "Must at least include addressee");
    if (dateText.empty()) return refusal(CreateFilesStatus::NoFormDate, "Must have form date");
    if (form.itemCount == 0) return refusal(CreateFilesStatus::NoItems, "Must include some items");
    if (formType < kInvoice || formType > kEstimate)
        return refusal(CreateFilesStatus::NoFormType, "Must specify form type");

    const auto items = static_cast<int32_t>(countedItems(form));
    for (int32_t item = 1; item <= items; ++item) {
        std::string& date = form.items[static_cast<size_t>(item - 1)].date;
        if (date.empty() || validateDate(date) == 0) continue;
        CreateFilesResult result =
            refusal(CreateFilesStatus::InvalidItemDate, "Invalid date for item" + Str(item));
        result.item = item;
        return result;
    }
    return {};
}

CreateFilesResult checkNoFileHeld(const std::string& formPath, bool formFileToo) {
    if (formPath.empty()) return {};
    std::vector<std::string> paths;
    if (formFileToo) paths.push_back(formPath);
    for (const DocumentKindInfo& kind : kDocumentKinds)
        paths.push_back(documentPath(formPath, kind.kind));
    for (const std::string& path : paths)
        if (heldByAnotherProgram(path))
            return refusal(CreateFilesStatus::FileHeld,
                           "The documents were not created: " + heldFileMessage(path));
    return {};
}

CreateFilesResult writeFormDocuments(const FormDocument& form, DocumentValues values,
                                     const std::string& formPath,
                                     const DocumentSettings& settings) {
    if (!fileExists(formPath))
        return refusal(CreateFilesStatus::NoFormFile,
                       formPath.empty() ? "The form has no file yet"
                                        : "The form file " + formPath + " does not exist");
    if (!documentsFitBeside(formPath))
        return refusal(CreateFilesStatus::BadFormFileName,
                       "Cannot create documents for " + formPath +
                           ": give the form file a name ending in .plx");

    if (CreateFilesResult held = checkNoFileHeld(formPath, false);
        held.status != CreateFilesStatus::Ok)
        return held;
    EInvoiceOutcome eInvoice = eInvoiceOutcome(form, values, settings.business);
    const bool withEInvoice = static_cast<bool>(eInvoice.xml);
    // The PDF and the XML file carry the e-invoice.
    values.eInvoiceXml = std::move(eInvoice.xml);
    // All written before any is put in place: a full disk leaves the earlier documents.
    std::vector<FileReplacement> files;
    std::vector<std::string> labels;
    std::vector<std::string> documentLabels; // the documents beside the e-invoice
    std::string staleEInvoice;
    DocumentReport report;
    for (const DocumentKindInfo& kind : kDocumentKinds) {
        const std::string path = documentPath(formPath, kind.kind);
        if (kind.onlyForEInvoice && !withEInvoice) {
            staleEInvoice = path;
            continue;
        }
        files.push_back(kind.file(form, values, settings, path, &report));
        labels.emplace_back(kind.label);
        if (!kind.onlyForEInvoice) documentLabels.emplace_back(kind.label);
    }
    const ReplaceResult written = replaceFilesTogether(files);
    if (!written.ok)
        return refusal(written.heldByAnotherProgram ? CreateFilesStatus::FileHeld
                                                    : CreateFilesStatus::WriteFailed,
                       written.placed.empty()
                           ? "The documents were not created: " + written.error
                           : partlyWrittenMessage(files, labels, written, formPath));
    std::string message = "The " + listed(documentLabels) + " files";
    if (withEInvoice) message += " and the e-invoice (" + eInvoice.standard + ")";
    message += " have been created at:\r\n\r\n" + folderPart(formPath) +
               undrawnNote(report.undrawnCharacters);
    if (report.archivalFontsMissing)
        message += "\r\n\r\nThe PDF does not carry the e-invoice, as it could not be made an "
                   "archival file: " +
                   std::string(report.undrawnCharacters.empty()
                                   ? "the fonts it embeds (Liberation Sans) could not be read"
                                   : "it shows characters that no font has") +
                   ". The XML file is the e-invoice.";
    const std::string removal = staleEInvoice.empty()
                                    ? std::string()
                                    : removeStaleEInvoice(staleEInvoice, !eInvoice.problem.empty());
    if (!eInvoice.problem.empty())
        message += "\r\n\r\nNo e-invoice was written. " + eInvoice.problem;
    message += removal;
    return {CreateFilesStatus::Ok, "RTF File", message, 0};
}

CreateFilesResult runCreateFiles(FormDocument& form, std::string_view dateText,
                                 const SaveBeforeWriting& save, const DocumentSettings& settings) {
    CreateFilesResult checked = checkFormAndRewriteItemDates(form, dateText, form.formType);
    if (checked.status != CreateFilesStatus::Ok) return checked;
    const std::optional<std::string> formPath = save(form);
    if (!formPath) return {CreateFilesStatus::NoFormFile, {}, {}, 0};
    recountItems(form);
    return writeFormDocuments(form, documentValues(form, settings.business), *formPath, settings);
}

CreateFilesResult createFilesHeadless(FormDocument& form, const std::string& formPath,
                                      const DocumentSettings& settings) {
    return runCreateFiles(
        form, form.formDate, [&formPath](FormDocument&) { return std::optional(formPath); },
        settings);
}

} // namespace plaxet
