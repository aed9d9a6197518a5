#include "ui/create_files_command.h"

#include <optional>

#include "form/business_details.h"
#include "form/invoice_dates.h"
#include "output/create_files.h"
#include "output/form_completion.h"
#include "runtime/file.h"
#include "runtime/text.h"
#include "ui/control_ids.h"
#include "ui/file_commands.h"
#include "ui/form_transfer.h"
#include "ui/item_rows.h"
#include "ui/sender_command.h"
#include "win/clipboard.h"
#include "win/controls.h"
#include "win/message_box.h"
#include "win/process.h"
#include "win/responder.h"

namespace plaxet {
namespace {

constexpr const char* kRtfViewer = "c:\\Program Files\\Windows NT\\Accessories\\wordpad.exe";
constexpr const char* kHtmlViewers[] = {
    "c:\\Program Files\\Internet Explorer\\iexplore.exe",
    "c:\\Program Files (x86)\\Internet Explorer\\iexplore.exe",
};

// The chosen document of the current form, or empty for a form without a
// file, which has no documents. Copy File gives the path with the kind's
// label as its extension ("RTF"), as it always has.
enum class ExtensionCase { Lower, Label };
std::string chosenDocument(const MainWindow& main, ExtensionCase extensionCase) {
    const std::string& formPath = main.editor.currentFilePath;
    if (formPath.empty()) return {};
    const DocumentKindInfo& kind = documentKindInfo(main.outputKind);
    return documentPath(formPath,
                        extensionCase == ExtensionCase::Label ? kind.label : kind.extension);
}

// What Show File says when the viewer of that kind of document is missing.
std::string missingViewerMessage(DocumentKind kind) {
    return documentKindInfo(kind).viewer == DocumentViewer::WebBrowser
               ? "Internet Explorer not found"
               : "Wordpad not found";
}

bool chosenDocumentExists(const MainWindow& main) {
    const std::string document = chosenDocument(main, ExtensionCase::Lower);
    return !document.empty() && fileExists(document);
}

// The option button that chooses each kind of document.
constexpr struct {
    int button;
    DocumentKind kind;
} kKindButtons[] = {
    {kRtfButton, DocumentKind::Rtf},
    {kHtmButton, DocumentKind::Html},
    {kPdfButton, DocumentKind::Pdf},
    {kXmlButton, DocumentKind::Xml},
};

void offerDocuments(MainWindow& main, bool offered) {
    ControlEnable(main.window, kShowFileButton, offered);
    ControlEnable(main.window, kCopyFileButton, offered);
}

// A refused form: the message, then the focus where the fault can be mended.
void refuse(MainWindow& main, const CreateFilesResult& refusal) {
    MessageBox(refusal.message, refusal.title, MB_OK | MB_ICONERROR);
    switch (refusal.status) {
    case CreateFilesStatus::InvalidFormDate:
    case CreateFilesStatus::NoFormDate:
        ControlSetFocus(main.window, kDateBox);
        break;
    case CreateFilesStatus::NoSender:
        editSender(main);
        break;
    case CreateFilesStatus::NoAddressee:
        ControlSetFocus(main.window, kNameBox);
        break;
    case CreateFilesStatus::NoItems:
        ControlSetFocus(main.window, kDateColumn + 1);
        break;
    case CreateFilesStatus::InvalidItemDate:
        // Only the first twelve items have a grid row of that number.
        if (refusal.item >= 1 && refusal.item <= kVisibleRows)
            ControlSetFocus(main.window, kDateColumn + refusal.item);
        break;
    default:
        break;
    }
}

constexpr const char* kCheckTitle = "Create RTF & HTM files";
constexpr const char* kNumberTitle = "Form Number";

// Business details that cannot be read or have problems number nothing: the
// command is refused before anything is saved or counted, so a series never
// starts again because its file could not be read.
bool refusedForBusinessDetails(MainWindow& main) {
    std::string message = main.businessFileError;
    if (message.empty())
        message = businessDetailsRefusal(main.folders.businessFilePath,
                                         businessDetailsProblems(main.documentSettings.business));
    if (message.empty()) return false;
    MessageBox(main.window, message, "Business Details", MB_OK | MB_ICONERROR);
    return true;
}

// The question before a number printed on another form goes on this one.
bool askNumberAgain(MainWindow& main, const std::string& number, const std::string& otherForm) {
    return MessageBox(main.window,
                      "The number " + number + " was already printed on " + otherForm +
                          ". Use it again on this form?",
                      kNumberTitle, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// The form's number, once the form has its file. False when the command is
// to end: the user keeps the number for another form, or the counter file
// failed (which is said here).
bool numberTheForm(MainWindow& main) {
    const NumberingResult numbered =
        numberForm(main.form, main.documentSettings.business, main.folders.businessFilePath,
                   main.editor.currentFilePath,
                   [&main](const std::string& number, const std::string& otherForm) {
                       return askNumberAgain(main, number, otherForm);
                   });
    switch (numbered.status) {
    case NumberingStatus::Ok:
        if (numbered.taken) {
            showField(main, kNumberBox);
            main.editor.changed = true;
        }
        return true;
    case NumberingStatus::Declined:
        ControlSetFocus(main.window, kNumberBox);
        return false;
    case NumberingStatus::Failed:
        MessageBox(main.window, numbered.message, kNumberTitle, MB_OK | MB_ICONERROR);
        return false;
    }
    return false;
}

// The window's save before the documents are written, with what the form
// gets from the business details. The due date is filled and the dates are
// checked first. A file another program holds would stop the command
// halfway, so nothing is saved before all of them can be replaced. A form
// without a file goes through Save As, so that its number is recorded for
// the file it is in; then the form is numbered, and saved (again) when that
// or anything else changed it, so the form file holds the number its
// documents print. Returns the file to put the documents beside; nothing
// when a cancelled Save As ends the command quietly, or a refusal or failed
// save has already said why (`refused` is then set for a refusal).
std::optional<std::string> saveBeforeWriting(MainWindow& main, bool& refused) {
    // The checks rewrote the item dates as mm/dd/yyyy; the grid shows them so.
    refreshRows(main);
    const DatingResult dated = dateForm(main.form, main.documentSettings.business.paymentDays);
    if (dated.filled) {
        showField(main, kDueDateBox);
        main.editor.changed = true;
    }
    if (!dated.problem.empty()) {
        // The rule's words begin a sentence here ("the due date ..." -> "The due date ...").
        std::string message = dated.problem + ".";
        if (message[0] >= 'a' && message[0] <= 'z')
            message[0] = static_cast<char>(message[0] - 'a' + 'A');
        MessageBox(main.window, message, kCheckTitle, MB_OK | MB_ICONERROR);
        ControlSetFocus(main.window, kDueDateBox);
        refused = true;
        return std::nullopt;
    }
    const std::string& formPath = main.editor.currentFilePath;
    const CreateFilesResult held =
        checkNoFileHeld(formPath, main.editor.changed && fileExists(formPath));
    if (held.status != CreateFilesStatus::Ok) {
        MessageBox(held.message, held.title, MB_OK | MB_ICONERROR);
        return std::nullopt;
    }
    if (!fileExists(main.editor.currentFilePath) && !saveFormAs(main)) return std::nullopt;
    if (!fileExists(main.editor.currentFilePath)) return std::nullopt;
    if (!numberTheForm(main)) {
        refused = true;
        return std::nullopt;
    }
    if (main.editor.changed && !saveIntoCurrentFile(main)) return std::nullopt;
    return main.editor.currentFilePath;
}

bool refusedByTheChecks(CreateFilesStatus status) {
    switch (status) {
    case CreateFilesStatus::InvalidFormDate:
    case CreateFilesStatus::NoSender:
    case CreateFilesStatus::NoAddressee:
    case CreateFilesStatus::NoFormDate:
    case CreateFilesStatus::NoItems:
    case CreateFilesStatus::NoFormType:
    case CreateFilesStatus::InvalidItemDate:
        return true;
    default:
        return false;
    }
}

} // namespace

CommandEnd createFiles(MainWindow& main) {
    // The row just typed counts as it would on leaving its cell.
    countFocusedRowNow(main);
    if (refusedForBusinessDetails(main)) return CommandEnd::Refused;
    // An empty due date follows from the form date, as on leaving the date box.
    if (fillDueDate(main.form, main.documentSettings.business.paymentDays)) {
        showField(main, kDueDateBox);
        main.editor.changed = true;
    }
    // The date box's own text: an empty box and one that holds no date are
    // refused with different messages.
    const std::string dateText = ControlGetText(main.window, kDateBox);
    bool refusedBeforeWriting = false;
    const CreateFilesResult result = runCreateFiles(
        main.form, dateText,
        [&](FormDocument&) { return saveBeforeWriting(main, refusedBeforeWriting); },
        main.documentSettings);
    if (refusedByTheChecks(result.status)) {
        refuse(main, result);
        return CommandEnd::Refused;
    }
    if (result.status != CreateFilesStatus::Ok) {
        if (!result.message.empty()) MessageBox(result.message, result.title, MB_OK | MB_ICONERROR);
        return refusedBeforeWriting ? CommandEnd::Refused : CommandEnd::Finished;
    }
    offerDocuments(main, true);
    MessageBox(result.message, result.title, MB_OK | MB_ICONINFORMATION);
    return showFile(main);
}

Viewer findViewer(DocumentKind kind, const std::function<bool(const std::string&)>& exists) {
    if (documentKindInfo(kind).viewer != DocumentViewer::WebBrowser) {
        if (exists(kRtfViewer)) return {kRtfViewer, {}};
        return {{}, missingViewerMessage(kind)};
    }
    for (const char* viewer : kHtmlViewers)
        if (exists(viewer)) return {viewer, {}};
    return {{}, missingViewerMessage(kind)};
}

std::string viewerCommandLine(const std::string& viewer, const std::string& document) {
    // Quoted, so that a path with blanks cannot be read as a shorter
    // program name ("c:\Program.exe") followed by arguments.
    return "\"" + viewer + "\" \"" + document + "\"";
}

CommandEnd showDocument(HWND window, DocumentKind kind, const std::string& document,
                        const std::function<bool(const std::string&)>& programExists) {
    // The window waits for the viewer, painting but taking no input: the
    // document is the user's business until it is closed.
    const DocumentKindInfo& info = documentKindInfo(kind);
    if (info.viewer == DocumentViewer::FileType) {
        // No fixed viewer: such files open in whatever the system associates with them.
        if (OpenDocumentAndWait(document, SW_SHOWNORMAL, window) != DocumentOpening::NoProgram)
            return CommandEnd::ViewerStarted;
        MessageBox("No program on this computer opens " + std::string(info.label) + " files.",
                   "File not found", MB_OK | MB_ICONERROR);
        return CommandEnd::Finished;
    }
    const Viewer viewer = findViewer(kind, programExists);
    if (!viewer.path.empty() &&
        Shell(viewerCommandLine(viewer.path, document), SW_SHOWNORMAL, true, window) != kNotStarted)
        return CommandEnd::ViewerStarted;
    // Without the fixed viewer (current systems no longer ship it, or it
    // would not start), whatever opens this type of file here does.
    if (OpenDocumentAndWait(document, SW_SHOWNORMAL, window) != DocumentOpening::NoProgram)
        return CommandEnd::ViewerStarted;
    MessageBox(missingViewerMessage(kind) + "\r\nNo program on this computer opens " +
                   std::string(info.label) + " files.",
               "File not found", MB_OK | MB_ICONERROR);
    return CommandEnd::Finished;
}

CommandEnd showFile(MainWindow& main) {
    const std::string document = chosenDocument(main, ExtensionCase::Lower);
    if (document.empty() || !fileExists(document)) {
        // Only an invoice that can be said as an e-invoice has one.
        MessageBox(documentKindInfo(main.outputKind).onlyForEInvoice
                       ? "File not created\r\n\r\nThis form has no e-invoice: Create Files "
                         "writes one only for an invoice that can be one, and says why not."
                       : "File not created",
                   "File not found", MB_OK | MB_ICONERROR);
        return CommandEnd::Finished;
    }
    return showDocument(main.window, main.outputKind, document, fileExists);
}

void copyFilePath(MainWindow& main) {
    const std::string path = chosenDocument(main, ExtensionCase::Label);
    if (path.empty() || !fileExists(path)) return;
    if (!ClipboardSetText(main.window, path)) {
        MessageBox("The file's address could not be put on the clipboard", "Clipboard Contents",
                   MB_OK | MB_ICONERROR);
        return;
    }
    MessageBox("Email attachments -\r\npaste this RTF file address", "Clipboard Contents",
               MB_OK | MB_ICONINFORMATION);
}

void chooseOutputKind(MainWindow& main) {
    main.outputKind = DocumentKind::Rtf;
    for (const auto& [button, kind] : kKindButtons)
        if (ControlIsChecked(main.window, button)) main.outputKind = kind;
    offerDocuments(main, chosenDocumentExists(main));
}

} // namespace plaxet
