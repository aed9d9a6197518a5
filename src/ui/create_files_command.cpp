#include "ui/create_files_command.h"

#include <optional>

#include "output/create_files.h"
#include "runtime/file.h"
#include "runtime/text.h"
#include "ui/control_ids.h"
#include "ui/file_commands.h"
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

// The chosen document of the current form with the given extension, or
// empty for a form without a file, which has no documents.
std::string chosenDocument(const MainWindow& main, const char* rtf, const char* html,
                           const char* pdf) {
    const std::string& formPath = main.editor.currentFilePath;
    if (formPath.empty()) return {};
    const char* extension = main.outputKind == kOutputHtml  ? html
                            : main.outputKind == kOutputPdf ? pdf
                                                            : rtf;
    return documentBasePath(formPath) + extension;
}

// What Show File says when the viewer of that kind of document is missing.
std::string missingViewerMessage(int32_t outputKind) {
    return outputKind == kOutputHtml ? "Internet Explorer not found" : "Wordpad not found";
}

bool chosenDocumentExists(const MainWindow& main) {
    const std::string document = chosenDocument(main, "rtf", "htm", "pdf");
    return !document.empty() && fileExists(document);
}

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

// The user's paper as the locale states it: A4, or letter for every other size.
PaperSize userPaperSize() {
    DWORD size = 0;
    const int read =
        GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_IPAPERSIZE | LOCALE_RETURN_NUMBER,
                        reinterpret_cast<LPWSTR>(&size), sizeof size / sizeof(WCHAR));
    constexpr DWORD kA4 = 9; // DMPAPER_A4
    return read != 0 && size == kA4 ? PaperSize::A4 : PaperSize::Letter;
}

// The window's save before the documents are written. A file another
// program holds would stop the command halfway, so nothing is saved before
// all of them can be replaced. A changed form is then saved: into its file
// without asking when that file exists, through Save As otherwise. Returns
// the file to put the documents beside; nothing when a cancelled Save As
// ends the command quietly, or a refusal or failed save has already said why.
std::optional<std::string> saveBeforeWriting(MainWindow& main) {
    // The checks rewrote the item dates as mm/dd/yyyy; the grid shows them so.
    refreshRows(main);
    const std::string& formPath = main.editor.currentFilePath;
    const CreateFilesResult held =
        checkNoFileHeld(formPath, main.editor.changed && fileExists(formPath));
    if (held.status != CreateFilesStatus::Ok) {
        MessageBox(held.message, held.title, MB_OK | MB_ICONERROR);
        return std::nullopt;
    }
    if (main.editor.changed) {
        const bool saved =
            fileExists(main.editor.currentFilePath) ? saveIntoCurrentFile(main) : saveFormAs(main);
        if (!saved) return std::nullopt;
    }
    if (!fileExists(main.editor.currentFilePath)) return std::nullopt;
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
    // The date box's own text: an empty box and one that holds no date are
    // refused with different messages.
    const std::string dateText = ControlGetText(main.window, kDateBox);
    const CreateFilesResult result = runCreateFiles(
        main.form, dateText, [&main](FormDocument&) { return saveBeforeWriting(main); },
        pdfSettings(userPaperSize()));
    if (refusedByTheChecks(result.status)) {
        refuse(main, result);
        return CommandEnd::Refused;
    }
    if (result.status != CreateFilesStatus::Ok) {
        if (!result.message.empty()) MessageBox(result.message, result.title, MB_OK | MB_ICONERROR);
        return CommandEnd::Finished;
    }
    offerDocuments(main, true);
    MessageBox(result.message, result.title, MB_OK | MB_ICONINFORMATION);
    return showFile(main);
}

Viewer findViewer(int32_t outputKind, const std::function<bool(const std::string&)>& exists) {
    if (outputKind != kOutputHtml) {
        if (exists(kRtfViewer)) return {kRtfViewer, {}};
        return {{}, missingViewerMessage(outputKind)};
    }
    for (const char* viewer : kHtmlViewers)
        if (exists(viewer)) return {viewer, {}};
    return {{}, missingViewerMessage(outputKind)};
}

std::string viewerCommandLine(const std::string& viewer, const std::string& document) {
    // Quoted, so that a path with blanks cannot be read as a shorter
    // program name ("c:\Program.exe") followed by arguments.
    return "\"" + viewer + "\" \"" + document + "\"";
}

CommandEnd showDocument(HWND window, int32_t outputKind, const std::string& document,
                        const std::function<bool(const std::string&)>& programExists) {
    // The window waits for the viewer, painting but taking no input: the
    // document is the user's business until it is closed.
    if (outputKind == kOutputPdf) {
        // No fixed viewer: PDF files open in whatever the system associates with them.
        if (OpenDocumentAndWait(document, SW_SHOWNORMAL, window) != DocumentOpening::NoProgram)
            return CommandEnd::ViewerStarted;
        MessageBox("No program on this computer opens PDF files.", "File not found",
                   MB_OK | MB_ICONERROR);
        return CommandEnd::Finished;
    }
    const Viewer viewer = findViewer(outputKind, programExists);
    if (!viewer.path.empty() &&
        Shell(viewerCommandLine(viewer.path, document), SW_SHOWNORMAL, true, window) != kNotStarted)
        return CommandEnd::ViewerStarted;
    // Without the fixed viewer (current systems no longer ship it, or it
    // would not start), whatever opens this type of file here does.
    if (OpenDocumentAndWait(document, SW_SHOWNORMAL, window) != DocumentOpening::NoProgram)
        return CommandEnd::ViewerStarted;
    MessageBox(missingViewerMessage(outputKind) + "\r\nNo program on this computer opens " +
                   (outputKind == kOutputHtml ? "HTM" : "RTF") + " files.",
               "File not found", MB_OK | MB_ICONERROR);
    return CommandEnd::Finished;
}

CommandEnd showFile(MainWindow& main) {
    const std::string document = chosenDocument(main, "rtf", "htm", "pdf");
    if (document.empty() || !fileExists(document)) {
        MessageBox("File not created", "File not found", MB_OK | MB_ICONERROR);
        return CommandEnd::Finished;
    }
    return showDocument(main.window, main.outputKind, document, fileExists);
}

void copyFilePath(MainWindow& main) {
    const std::string path = chosenDocument(main, "RTF", "HTM", "PDF");
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
    main.outputKind = ControlIsChecked(main.window, kPdfButton)   ? kOutputPdf
                      : ControlIsChecked(main.window, kHtmButton) ? kOutputHtml
                                                                  : kOutputRtf;
    offerDocuments(main, chosenDocumentExists(main));
}

} // namespace plaxet
