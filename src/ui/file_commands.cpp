#include "ui/file_commands.h"

#include <commdlg.h>

#include "form/form_file.h"
#include "output/create_files.h"
#include "output/totals.h"
#include "runtime/file.h"
#include "runtime/text.h"
#include "runtime/wide.h"
#include "ui/control_ids.h"
#include "ui/form_transfer.h"
#include "ui/form_type.h"
#include "ui/item_rows.h"
#include "win/controls.h"
#include "win/file_dialogs.h"
#include "win/message_box.h"

namespace plaxet {
namespace {

constexpr int kEditBoxes[] = {kNameBox,   kAddressBox, kCityBox, kPhoneBox,
                              kNumberBox, kDueDateBox, kNotesBox};

void setTitle(MainWindow& main, const std::string& title) {
    SetWindowTextW(main.window, toWide(title).c_str());
}

// The dialogs start from the current file's name without its extension.
std::string initialFileName(const std::string& currentFilePath) {
    return Left(currentFilePath, Len(currentFilePath) - 4);
}

} // namespace

bool saveIntoCurrentFile(MainWindow& main) {
    // A complete row that still has the focus counts as it would on leaving
    // its cell: a menu command or key does not take the focus away, and the
    // item just typed must not be left out of the file.
    if (!IsWindow(main.window)) return false; // the form on screen is gone
    countFocusedRowNow(main);
    const int32_t countBeforeGathering = main.form.itemCount;
    if (countBeforeGathering == 0) return true; // nothing is written for a form without items
    recountItems(main.form);
    const DocumentValues values = documentValues(main.form);
    const FormSaveResult saved =
        saveFormFile(main.editor.currentFilePath, withComputedCosts(main.form, values.sums),
                     countBeforeGathering);
    if (saved.outcome == SaveOutcome::Saved) main.editor.changed = false;
    // Gathering closes up blank rows between items; the grid shows the result.
    refreshRows(main);
    if (saved.outcome != SaveOutcome::Failed) return true;
    MessageBox("The form was not saved:\r\n" + saved.error, "Save File", MB_OK | MB_ICONSTOP);
    return false;
}

namespace {

// Save As for a form without a file, otherwise the plain save.
bool saveCurrentForm(MainWindow& main) {
    if (main.editor.currentFilePath.empty()) return saveFormAs(main);
    return saveIntoCurrentFile(main);
}

// Before New and Open replace the form: offers to save a changed one. False
// when the user wanted it saved and that did not happen, so the command
// must not go on and throw the form away.
bool askSaveChanges(MainWindow& main) {
    if (!main.editor.changed) return true;
    const int answer =
        MessageBox("Current file has changed...\r\nSave it before opening the new file?",
                   "Save File", MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES) return true;
    return saveCurrentForm(main);
}

// Reads the form file into a copy of the record first, so a file that turns
// out to be damaged is reported and the form on screen stays as it was.
bool loadIntoRecord(MainWindow& main, const std::string& path) {
    FormDocument loaded = main.form;
    const FormFileResult result = loadFormFile(path, loaded);
    if (!result.ok) {
        MessageBox("The form file could not be opened:\r\n" + result.error, "Open File",
                   MB_OK | MB_ICONSTOP);
        return false;
    }
    main.form = std::move(loaded);
    main.editor.currentFilePath = path;
    return true;
}

// What Open and the start-up open do once the record holds the file.
void showOpenedForm(MainWindow& main, bool offerCreatedFiles) {
    showLoadedForm(main);
    showGrid(main, showFromFirstItem(main.grid, main.form, main.editor));
    if (offerCreatedFiles &&
        fileExists(documentPath(main.editor.currentFilePath, DocumentKind::Rtf))) {
        ControlEnable(main.window, kShowFileButton, true);
        ControlEnable(main.window, kCopyFileButton, true);
    }
    applyFormType(main, main.form.formType);
    main.editor.changed = false;
}

void closeWindow(MainWindow& main) {
    FormEnd(main.window, 0);
}

} // namespace

void newForm(MainWindow& main) {
    if (!askSaveChanges(main)) return;
    showGrid(main, startNewForm(main.grid, main.form, main.editor));
    for (int box : kEditBoxes) showField(main, box);
    OptionSelect(main.window, kInvoiceButton, kEstimateButton, kInvoiceButton);
    setTitle(main, "Plaxet");
    main.editor.changed = false;
}

void openForm(MainWindow& main) {
    FileDialogOptions dialog;
    dialog.owner = main.window;
    dialog.title = "Open File";
    dialog.initialFolder = main.folders.dataFolder;
    dialog.filter = {{"Plaxet", "*.plx"}, {"All files", "*.*"}};
    dialog.initialFile = initialFileName(main.editor.currentFilePath);
    dialog.defaultExtension = "plx";
    dialog.flags = OFN_FILEMUSTEXIST | OFN_LONGNAMES | OFN_ENABLESIZING;
    const std::string path = OpenFileDialog(dialog);
    const int32_t dot = InStrAny(-1, path, ".");
    if (dot == 0 || LCase(Mid(path, dot)) != ".plx") return; // cancelled, or not a form file
    if (!askSaveChanges(main)) return;
    if (!loadIntoRecord(main, LCase(path))) return;
    showOpenedForm(main, true);
}

void saveForm(MainWindow& main) {
    if (MessageBox("Save this file now?", "Save File", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    saveCurrentForm(main);
}

bool saveFormAs(MainWindow& main) {
    FileDialogOptions dialog;
    dialog.owner = main.window;
    dialog.title = "Save File";
    dialog.initialFolder = main.folders.dataFolder;
    dialog.filter = {{"plaxet", "*.plx"}, {"All Files", "*.*"}};
    dialog.initialFile = initialFileName(main.editor.currentFilePath);
    dialog.defaultExtension = "plx";
    dialog.flags = OFN_OVERWRITEPROMPT | OFN_LONGNAMES;
    const std::string path = SaveFileDialog(dialog);
    if (path.empty()) return false;
    const std::string previousPath = main.editor.currentFilePath;
    main.editor.currentFilePath = path;
    if (!saveIntoCurrentFile(main)) {
        // Nothing was written there: the form keeps the file it had.
        main.editor.currentFilePath = previousPath;
        return false;
    }
    setTitle(main, path);
    return true;
}

void confirmClose(MainWindow& main) {
    if (main.editor.changed) {
        const int answer =
            MessageBox("Save program data now?", "Exit Program", MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer != IDYES && answer != IDNO) return;
        // A form the user wanted saved is only left behind once it is saved.
        if (answer == IDYES && !saveCurrentForm(main)) return;
        closeWindow(main);
        return;
    }
    if (main.form.itemCount != 0 &&
        MessageBox("Quit Program now?", "Exit Program", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    closeWindow(main);
}

bool allowSessionEnd(MainWindow& main) {
    if (!main.editor.changed) return true;
    const int answer =
        MessageBox("Save program data now?", "Exit Program", MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDYES) return saveCurrentForm(main);
    return answer == IDNO;
}

void endSession(MainWindow& main) {
    closeWindow(main);
}

void openFormAtStart(MainWindow& main) {
    const std::string path = Remove(main.commandLine, "\"");
    if (path.empty() || !fileExists(path)) return;
    if (!loadIntoRecord(main, path)) return;
    showOpenedForm(main, false);
}

} // namespace plaxet
