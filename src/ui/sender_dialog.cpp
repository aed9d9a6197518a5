#include "ui/sender_dialog.h"

#include "win/controls.h"
#include "win/forms.h"
#include "win/message_box.h"

namespace plaxet {
namespace {

constexpr int kLineCount = 6;
constexpr DWORD kLineBoxStyle = ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP;
constexpr DWORD kOkStyle = BS_DEFPUSHBUTTON | WS_TABSTOP;

void addControls(HWND dialog, const SenderLines& lines, bool withBusinessButton) {
    ControlAdd(dialog, {ControlKind::Label, kNoId,
                        "Specify lines defining sender (will show as a centered header):", 10, 10,
                        300, 15, kDefaultStyle, 0});
    for (int line = 1; line <= kLineCount; ++line)
        ControlAdd(dialog, {ControlKind::TextBox, kSenderLineBoxBase + line,
                            lines[static_cast<size_t>(line - 1)], 20, 20 + 30 * line, 350, 20,
                            kLineBoxStyle, WS_EX_CLIENTEDGE});
    ControlAdd(dialog, {ControlKind::PushButton, IDOK, "&Ok", 225, 240, 120, 40, kOkStyle, 0});
    if (withBusinessButton)
        ControlAdd(dialog, {ControlKind::PushButton, kSenderBusinessButton, "&Business Details...",
                            20, 240, 150, 40, kDefaultStyle, 0});
}

// Ok: the boxes' texts as they are, and whether the user wants them kept
// beyond this run.
SenderAnswer acceptLines(HWND dialog) {
    SenderLines lines;
    for (int line = 1; line <= kLineCount; ++line)
        lines[static_cast<size_t>(line - 1)] = ControlGetText(dialog, kSenderLineBoxBase + line);
    const bool keep =
        MessageBox("Save data defining sender?", "Save Data", MB_YESNO | MB_ICONQUESTION) == IDYES;
    return {std::move(lines), keep};
}

} // namespace

SenderAnswer askSenderLines(HWND owner, const SenderLines& lines,
                            const std::function<void()>& typed,
                            const std::function<void(HWND)>& businessDetails) {
    HWND dialog = FormNew(modalDialogLayout(owner, "Define Sender", 400, 320));
    if (!dialog) return {};
    addControls(dialog, lines, static_cast<bool>(businessDetails));
    SenderAnswer answer;
    FormShowModal(dialog, [&](HWND window, UINT message, WPARAM wParam, LPARAM) -> intptr_t {
        if (message != WM_COMMAND) return 0;
        const int id = LOWORD(wParam);
        if (id > kSenderLineBoxBase && id <= kSenderLineBoxBase + kLineCount) {
            if (HIWORD(wParam) == EN_CHANGE && typed) typed();
            return 1;
        }
        if (id == kSenderBusinessButton && businessDetails) {
            businessDetails(window);
            return 1;
        }
        if (id != IDOK) return 0; // the escape key among them: only Ok and the close box end it
        answer = acceptLines(window);
        FormEnd(window, IDOK);
        return 1;
    });
    return answer;
}

} // namespace plaxet
