#include "ui/commands.h"

#include <commctrl.h>

#include <optional>
#include <string>

#include "form/invoice_dates.h"
#include "output/dates.h"
#include "runtime/file.h"
#include "runtime/numbers.h"
#include "ui/about_box.h"
#include "ui/business_command.h"
#include "ui/buyer_dialog.h"
#include "ui/control_ids.h"
#include "ui/create_files_command.h"
#include "ui/file_commands.h"
#include "ui/form_transfer.h"
#include "ui/form_type.h"
#include "ui/help_window.h"
#include "ui/item_cells.h"
#include "ui/item_commands.h"
#include "ui/item_scroll.h"
#include "ui/sender_command.h"
#include "win/controls.h"
#include "win/message_box.h"

namespace plaxet {
namespace {

// Whether the three command buttons get their plain look back afterwards.
enum class AfterCommand { RestoreButtons, LeaveButtons };

using Handler = AfterCommand (*)(MainWindow&, int id, int notification);

// The focus and text notifications leave any selection in a box behind; it
// is removed at once (the caret stays where it is).
void removeSelection(MainWindow& main, int id) {
    ControlSend(main.window, id, EM_SETSEL, static_cast<WPARAM>(-1), 0);
}

AfterCommand onCancelKey(MainWindow& main, int, int) {
    // Closing goes through the close command, so the escape key, Exit and
    // the close box all meet the same confirmation.
    SendMessageW(main.window, WM_SYSCOMMAND, SC_CLOSE, 0);
    return AfterCommand::RestoreButtons;
}

// The addressee lines, the number and the due date: what is typed is the form's.
AfterCommand onFormBox(MainWindow& main, int id, int notification) {
    removeSelection(main, id);
    if (notification == EN_CHANGE) {
        main.editor.changed = true;
        storeBoxText(main, id);
    }
    return AfterCommand::RestoreButtons;
}

AfterCommand onFormTypeButton(MainWindow& main, int id, int) {
    applyFormType(main, id - kFormTypeButtonBase);
    return AfterCommand::RestoreButtons;
}

AfterCommand onDateBox(MainWindow& main, int id, int notification) {
    if (notification == EN_SETFOCUS) removeSelection(main, id);
    if (notification == EN_CHANGE) storeBoxText(main, id);
    if (notification != EN_KILLFOCUS) return AfterCommand::RestoreButtons;
    main.editor.changed = true;
    std::string date = ControlGetText(main.window, kDateBox);
    if (validateDate(date) == 0) {
        putFieldText(main, kDateBox, date);
        // An empty due date follows from the date and the payment days.
        if (fillDueDate(main.form, main.documentSettings.business.paymentDays))
            showField(main, kDueDateBox);
    } else {
        // The focus is still on its way to the next control; it is called
        // back once it has arrived.
        PostMessageW(main.window, kReturnToDateBox, 0, 0);
    }
    return AfterCommand::RestoreButtons;
}

AfterCommand onItemCell(MainWindow& main, int id, int notification) {
    onItemCellEvent(main, id, notification);
    return AfterCommand::RestoreButtons;
}

AfterCommand onDummyButton(MainWindow& main, int, int notification) {
    // Tab out of row 12 lands here and goes on in a new bottom row.
    if (notification == BN_SETFOCUS) continueBelowRow12(main);
    return AfterCommand::RestoreButtons;
}

AfterCommand onNotesBox(MainWindow& main, int id, int notification) {
    removeSelection(main, id);
    if (notification == EN_CHANGE) {
        main.editor.changed = true;
        storeBoxText(main, id);
    }
    return AfterCommand::RestoreButtons;
}

AfterCommand onAmountBox(MainWindow& main, int id, int notification) {
    if (main.form.formType != kReceipt) return AfterCommand::LeaveButtons;
    if (notification == EN_SETFOCUS) {
        showTotalInAmountBox(main);
    } else if (notification == EN_CHANGE) {
        storeBoxText(main, id);
        if (Val(main.form.amountPaid) != 0) main.editor.changed = true;
    }
    return AfterCommand::RestoreButtons;
}

AfterCommand onBuyerDetails(MainWindow& main, int, int) {
    std::optional<Buyer> buyer = askBuyerDetails(main.window, main.form.buyer);
    if (!buyer || *buyer == main.form.buyer) return AfterCommand::RestoreButtons;
    main.form.buyer = std::move(*buyer);
    main.editor.changed = true;
    return AfterCommand::RestoreButtons;
}

AfterCommand onOutputKind(MainWindow& main, int, int) {
    chooseOutputKind(main);
    return AfterCommand::RestoreButtons;
}

AfterCommand onSender(MainWindow& main, int, int) {
    editSender(main);
    return AfterCommand::RestoreButtons;
}

AfterCommand onBusinessDetails(MainWindow& main, int, int) {
    editBusinessDetails(main, main.window);
    return AfterCommand::RestoreButtons;
}

// A refused form and a viewer just started leave the buttons' look alone.
AfterCommand afterDocumentCommand(CommandEnd end) {
    return end == CommandEnd::Finished ? AfterCommand::RestoreButtons : AfterCommand::LeaveButtons;
}

AfterCommand onCreateFiles(MainWindow& main, int, int) {
    return afterDocumentCommand(createFiles(main));
}

AfterCommand onShowFile(MainWindow& main, int, int) {
    return afterDocumentCommand(showFile(main));
}

AfterCommand onCopyFile(MainWindow& main, int, int) {
    copyFilePath(main);
    return AfterCommand::RestoreButtons;
}

AfterCommand onNew(MainWindow& main, int, int) {
    newForm(main);
    return AfterCommand::RestoreButtons;
}

AfterCommand onOpen(MainWindow& main, int, int) {
    openForm(main);
    return AfterCommand::RestoreButtons;
}

AfterCommand onSave(MainWindow& main, int, int) {
    saveForm(main);
    return AfterCommand::RestoreButtons;
}

AfterCommand onSaveAs(MainWindow& main, int, int) {
    saveFormAs(main);
    return AfterCommand::RestoreButtons;
}

AfterCommand onExit(MainWindow& main, int id, int notification) {
    return onCancelKey(main, id, notification);
}

AfterCommand onRowCommand(MainWindow& main, int id, int) {
    runRowCommand(main, id);
    return AfterCommand::RestoreButtons;
}

AfterCommand onHelpContents(MainWindow& main, int, int) {
    const std::string& helpFile = main.folders.helpFilePath;
    if (!fileExists(helpFile)) {
        MessageBox("Help file not found", helpFile, MB_OK | MB_ICONSTOP);
        return AfterCommand::RestoreButtons;
    }
    // Modeless: the main window's loop runs it too.
    openHelpWindow(main.helpViewer, helpFile, "", main.window);
    return AfterCommand::RestoreButtons;
}

AfterCommand onAbout(MainWindow& main, int, int) {
    showAbout(main.window);
    return AfterCommand::RestoreButtons;
}

struct Route {
    int first;
    int last;
    Handler handler;
};

constexpr Route kRoutes[] = {
    {kCancelCommand, kCancelCommand, onCancelKey},
    {kNameBox, kPhoneBox, onFormBox},
    {kBuyerDetailsButton, kBuyerDetailsButton, onBuyerDetails},
    {kInvoiceButton, kEstimateButton, onFormTypeButton},
    {kDateBox, kDateBox, onDateBox},
    {kNumberBox, kDueDateBox, onFormBox},
    {kDateColumn + 1, kDateColumn + kVisibleRows, onItemCell},
    {kDescriptionColumn + 1, kDescriptionColumn + kVisibleRows, onItemCell},
    {kCostColumn + 1, kCostColumn + kVisibleRows, onItemCell},
    {kDummyButton, kDummyButton, onDummyButton},
    {kNotesBox, kNotesBox, onNotesBox},
    {kAmountBox, kAmountBox, onAmountBox},
    {kSenderButton, kSenderButton, onSender},
    {kRtfButton, kHtmButton, onOutputKind},
    {kPdfButton, kXmlButton, onOutputKind},
    {kCreateFilesButton, kCreateFilesButton, onCreateFiles},
    {kCreateFilesCommand, kCreateFilesCommand, onCreateFiles},
    {kBusinessDetailsCommand, kBusinessDetailsCommand, onBusinessDetails},
    {kShowFileButton, kShowFileButton, onShowFile},
    {kCopyFileButton, kCopyFileButton, onCopyFile},
    {kNewCommand, kNewCommand, onNew},
    {kOpenCommand, kOpenCommand, onOpen},
    {kSaveCommand, kSaveCommand, onSave},
    {kSaveAsCommand, kSaveAsCommand, onSaveAs},
    {kExitCommand, kExitCommand, onExit},
    {kClearItemCommand, kDeleteItemCommand, onRowCommand},
    {kHelpContentsCommand, kHelpContentsCommand, onHelpContents},
    {kAboutCommand, kAboutCommand, onAbout},
};

// After a command the three command buttons lose the default-button look
// that the dialog manager may have given them.
void restorePlainButtons(MainWindow& main) {
    for (int id : {kCreateFilesButton, kShowFileButton, kCopyFileButton})
        ControlSend(main.window, id, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
}

} // namespace

bool runCommand(MainWindow& main, int id, int notification) {
    for (const Route& route : kRoutes) {
        if (id < route.first || id > route.last) continue;
        if (route.handler(main, id, notification) == AfterCommand::RestoreButtons)
            restorePlainButtons(main);
        return true;
    }
    restorePlainButtons(main); // after any command, also one without a handler
    return false;
}

void returnToDateBox(MainWindow& main) {
    // Only while the focus is still within this window: a message box or
    // another program that took it is left alone.
    HWND focus = GetFocus();
    HWND dateBox = ControlWindow(main.window, kDateBox);
    if (!focus || focus == dateBox || !IsChild(main.window, focus)) return;
    SendMessageW(main.window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(dateBox), TRUE);
}

} // namespace plaxet
