// The form commands of plaxet-cli: create the documents of a form file, and
// turn form files into JSON and back.
#include "cli/commands.h"
#include "cli/form_json.h"

#include "form/business_details.h"
#include "form/data_folder.h"
#include "form/form_file.h"
#include "form/sender_file.h"
#include "output/create_files.h"
#include "output/document_settings.h"
#include "output/form_completion.h"
#include "runtime/codepage.h"
#include "runtime/environment.h"
#include "runtime/file.h"
#include "runtime/paths.h"
#include "runtime/system_fonts.h"
#include "runtime/utf8.h"

#include <cstdio>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace plaxet::cli {
namespace {

constexpr int kFailed = 1;
constexpr int kMisused = 2;
constexpr size_t kSenderLineCount = std::tuple_size_v<decltype(FormDocument::senderLines)>;

int fail(const std::string& message, int status = kFailed) {
    std::fprintf(stderr, "plaxet-cli: %s\n", message.c_str());
    return status;
}

// A message whose lines end in CR LF, with the terminal's line ends.
std::string withNewlines(std::string text) {
    for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, "\n");
    return text;
}

// Prints a message whose lines end in CR LF, one line each.
void printLines(std::FILE* to, const std::string& message) {
    std::fprintf(to, "%s\n", withNewlines(message).c_str());
}

bool loadForm(const std::string& path, FormDocument& form, std::string& error) {
    if (!fileExists(path)) {
        error = "no form file " + path;
        return false;
    }
    const FormFileResult loaded = loadFormFile(path, form);
    error = loaded.error;
    return loaded.ok;
}

// What the documents of this run depend on beyond the form.
DocumentSettings documentSettings(PaperSize paper) {
    DocumentSettings settings;
    settings.paper = paper;
    settings.codePage = codePageInUse();
    settings.fontFiles = documentFontFiles();
    settings.findFonts = systemFontsFor;
    settings.archivalFonts = archivalFontFiles();
    settings.creationTime = fixedCreationTime();
    return settings;
}

struct CreateFilesOptions {
    std::string formPath;
    std::optional<std::string> senderPath;
    std::optional<std::string> businessPath;
    std::optional<std::string> amountPaid;
    PaperSize paper = PaperSize::Letter;
};

bool parseCreateFiles(const Arguments& args, CreateFilesOptions& options, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--sender" || arg == "--paid" || arg == "--business") {
            if (i + 1 == args.size()) {
                error = arg + " needs a value";
                return false;
            }
            (arg == "--sender"     ? options.senderPath
             : arg == "--business" ? options.businessPath
                                   : options.amountPaid) = args[++i];
        } else if (arg == "--paper") {
            const std::string size = i + 1 < args.size() ? args[++i] : "";
            if (size != "letter" && size != "a4") {
                error = "--paper needs letter or a4";
                return false;
            }
            options.paper = size == "a4" ? PaperSize::A4 : PaperSize::Letter;
        } else if (arg.size() > 1 && arg.front() == '-') {
            error = "unknown option " + arg;
            return false;
        } else if (options.formPath.empty()) {
            options.formPath = arg;
        } else {
            error = "one form file only, not also " + arg;
            return false;
        }
    }
    if (options.formPath.empty())
        error = "usage: create-files FORM.plx [--sender FILE] [--business FILE] [--paid AMOUNT] "
                "[--paper letter|a4]";
    return !options.formPath.empty();
}

constexpr int kContinue = -1;

// With business details: the form's number and due date, before any
// document is written. A form of a numbered type without a number takes the
// next one of its series (recorded in the counters beside the business file
// before anything else is written); a number the form carries is kept, but
// refused when the record gives it to another form, since there is no one
// here to ask whether it may be used twice. What was added is saved into the
// form file. The details read are left in `details` for the documents.
// Returns kContinue, or the exit status to end with.
int completeForm(FormDocument& form, const std::string& formPath, const std::string& businessPath,
                 BusinessDetails& details) {
    const BusinessFileResult loaded = loadBusinessDetails(businessPath, details);
    if (!loaded.ok) return fail(loaded.error);
    if (const std::string refusal =
            businessDetailsRefusal(businessPath, businessDetailsProblems(details));
        !refusal.empty())
        return fail(withNewlines(refusal));

    // The form's own checks first, on a copy, so that a form the command
    // will refuse takes no number.
    FormDocument checked = form;
    const CreateFilesResult refusal =
        checkFormAndRewriteItemDates(checked, checked.formDate, checked.formType);
    if (refusal.status != CreateFilesStatus::Ok) {
        printLines(stderr, refusal.message);
        return kFailed;
    }
    const DatingResult dated = dateForm(form, details.paymentDays);
    if (!dated.problem.empty()) return fail(formPath + ": " + dated.problem);

    // There is no one here to ask whether a number may be printed twice.
    const NumberingResult numbered = numberForm(form, details, businessPath, formPath, nullptr);
    if (numbered.status == NumberingStatus::Declined)
        return fail(formPath + ": the number " + form.number + " was already given to " +
                    numbered.usedBy +
                    ". A number is never printed on two forms without asking, and "
                    "plaxet-cli has no one to ask: change or clear the form's number "
                    "(a cleared one gets the next of its series).");
    if (numbered.status == NumberingStatus::Failed) return fail(numbered.message);
    if (numbered.taken)
        std::printf("Number %s given to %s\n", form.number.c_str(), formPath.c_str());

    if (dated.filled || numbered.taken) {
        const FormSaveResult saved = saveFormFile(formPath, form, form.itemCount);
        if (saved.outcome == SaveOutcome::Failed)
            return fail("what was added to the form (its number or due date) could not be "
                        "saved, so no documents were made: " +
                        saved.error);
    }
    return kContinue;
}

} // namespace

int createFiles(const Arguments& args) {
    CreateFilesOptions options;
    std::string error;
    if (!parseCreateFiles(args, options, error)) return fail(error, kMisused);

    // A full path, so that the message names the folder even for a bare file name.
    const std::string formPath = fullPath(options.formPath);
    FormDocument form;
    if (!loadForm(formPath, form, error)) return fail(error);

    if (options.senderPath) {
        if (!loadSenderLines(form, *options.senderPath))
            return fail("cannot read the sender file " + *options.senderPath);
    } else {
        // Without a sender file the form has no sender, and the checks say so.
        loadSenderLines(form,
                        findDataFolders(runningProgramFolder(), knownFolderPath).senderFilePath);
    }
    if (options.amountPaid) form.amountPaid = *options.amountPaid;
    DocumentSettings settings = documentSettings(options.paper);
    if (options.businessPath)
        if (const int status =
                completeForm(form, formPath, *options.businessPath, settings.business);
            status != kContinue)
            return status;

    const CreateFilesResult result = createFilesHeadless(form, formPath, settings);
    switch (result.status) {
    case CreateFilesStatus::Ok:
        printLines(stdout, result.message);
        return 0;
    case CreateFilesStatus::NoFormFile:
    case CreateFilesStatus::BadFormFileName:
    case CreateFilesStatus::WriteFailed:
        return fail(result.message);
    default:
        // A refusal of the checks, in the program's own words.
        printLines(stderr, result.message);
        return kFailed;
    }
}

int dumpForm(const Arguments& args) {
    if (args.size() != 1) return fail("usage: dump FORM.plx", kMisused);
    FormDocument form;
    std::string error;
    if (!loadForm(args[0], form, error)) return fail(error);
    const std::string json = formToJson(form);
    std::fwrite(json.data(), 1, json.size(), stdout);
    return 0;
}

int saveSender(const Arguments& args) {
    if (args.empty() || args.size() > kSenderLineCount + 1)
        return fail("usage: save-sender SENDER.ini [LINE ...] (at most " +
                        std::to_string(kSenderLineCount) + " lines)",
                    kMisused);
    FormDocument form;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string where = "sender line " + std::to_string(i);
        if (!isValidUtf8(args[i])) return fail(where + " is not UTF-8 text", kMisused);
        form.senderLines[i - 1] = args[i];
        // A line break would shift every later line of the file.
        if (form.senderLines[i - 1].find_first_of("\r\n\x1A") != std::string::npos)
            return fail(where + " holds a line break", kMisused);
    }
    const ReplaceResult written = saveSenderLines(form, args[0]);
    if (!written.ok) return fail(written.error);
    return 0;
}

int makeForm(const Arguments& args) {
    if (args.size() != 2) return fail("usage: make FORM.json FORM.plx", kMisused);
    const std::string& jsonPath = args[0];
    const std::optional<std::string> json = readWholeFile(jsonPath);
    if (!json) return fail("cannot read " + jsonPath);
    FormDocument form;
    std::string error;
    if (!formFromJson(*json, form, error)) return fail(jsonPath + ": " + error);
    const ReplaceResult written = writeFormFile(form, args[1]);
    if (!written.ok) return fail(written.error);
    return 0;
}

} // namespace plaxet::cli
