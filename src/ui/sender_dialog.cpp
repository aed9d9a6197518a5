#include "ui/sender_dialog.h"

#include <string>

#include "form/sender_file.h"
#include "win/controls.h"
#include "win/forms.h"
#include "win/message_box.h"

namespace plaxet {
namespace {

constexpr int kLineCount = 6;
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK;
constexpr DWORD kLineBoxStyle = ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP;
constexpr DWORD kOkStyle = BS_DEFPUSHBUTTON | WS_TABSTOP;

void addControls(HWND dialog, const FormDocument& form) {
    ControlAdd(dialog, {ControlKind::Label, kNoId,
                        "Specify lines defining sender (will show as a centered header):", 10, 10,
                        300, 15, kDefaultStyle, 0});
    for (int line = 1; line <= kLineCount; ++line)
        ControlAdd(dialog, {ControlKind::TextBox, kSenderLineBoxBase + line,
                            form.senderLines[static_cast<size_t>(line - 1)], 20, 20 + 30 * line,
                            350, 20, kLineBoxStyle, WS_EX_CLIENTEDGE});
    ControlAdd(dialog, {ControlKind::PushButton, IDOK, "&Ok", 225, 240, 120, 40, kOkStyle, 0});
}

// Ok: the boxes' texts become the sender lines as they are, and the sender
// file is written when the user wants them kept beyond this run.
void acceptLines(MainWindow& main, HWND dialog) {
    for (int line = 1; line <= kLineCount; ++line)
        main.form.senderLines[static_cast<size_t>(line - 1)] =
            ControlGetText(dialog, kSenderLineBoxBase + line);
    if (MessageBox("Save data defining sender?", "Save Data", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    const ReplaceResult saved = saveSenderLines(main.form, main.folders.senderFilePath);
    if (!saved.ok)
        MessageBox("The sender lines are kept for this session but were not saved:\r\n" +
                       saved.error,
                   "Save Data", MB_OK | MB_ICONSTOP);
}

intptr_t handleEvent(MainWindow& main, HWND dialog, UINT message, WPARAM wParam) {
    if (message != WM_COMMAND) return 0;
    const int id = LOWORD(wParam);
    if (id > kSenderLineBoxBase && id <= kSenderLineBoxBase + kLineCount) {
        if (HIWORD(wParam) == EN_CHANGE) main.editor.changed = true;
        return 1;
    }
    if (id != IDOK) return 0; // the escape key among them: only Ok and the close box end it
    acceptLines(main, dialog);
    FormEnd(dialog, IDOK);
    return 1;
}

} // namespace

void editSender(MainWindow& main) {
    FormLayout params;
    params.owner = main.window;
    params.caption = "Define Sender";
    params.width = 400;
    params.height = 320;
    params.style = kDialogStyle;
    params.pixels = true;
    HWND dialog = FormNew(params);
    if (!dialog) return;
    addControls(dialog, main.form);
    FormShowModal(dialog, [&main](HWND window, UINT message, WPARAM wParam, LPARAM) {
        return handleEvent(main, window, message, wParam);
    });
}

} // namespace plaxet
