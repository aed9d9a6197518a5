#include "ui/help_search_dialog.h"

#include <algorithm>
#include <cmath>

#include "runtime/text.h"
#include "win/controls.h"
#include "win/dpi.h"
#include "win/forms.h"
#include "win/handles.h"
#include "runtime/wide.h"

namespace plaxet {
namespace {

constexpr int kMinimumBoxWidth = 130;
constexpr int kMinimumTitleWidth = 150;
constexpr int kMinimumWidth = 150;

// The text's size in the dialog's own font, in layout pixels (rounded up, so
// that the text still fits once the toolkit scales the figures back).
SIZE textExtent(HWND window, std::string_view text) {
    const std::wstring wide = toWide(text);
    const WindowDc owned(window);
    const HDC dc = owned.get();
    const SelectedObject font(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    const int dpi = FormDpi(window);
    return {(size.cx * kLayoutDpi + dpi - 1) / dpi, (size.cy * kLayoutDpi + dpi - 1) / dpi};
}

int lineCount(std::string_view text) {
    int lines = 1;
    for (size_t at = text.find("\r\n"); at != std::string_view::npos;
         at = text.find("\r\n", at + 2))
        ++lines;
    return lines;
}

struct DialogLayout {
    int promptWidth = 0;
    int boxWidth = 0;
    int boxHeight = 0;
    int width = 0; // W: the controls' reference width
};

DialogLayout measure(HWND dialog, std::string_view prompt, std::string_view title,
                     std::string_view startText) {
    const SIZE promptSize = textExtent(dialog, prompt);
    DialogLayout layout;
    layout.promptWidth = promptSize.cx;
    layout.boxWidth = std::max(
        static_cast<int>(textExtent(dialog, std::string(startText) + "  ").cx), kMinimumBoxWidth);
    const int titleWidth = std::max(
        static_cast<int>(textExtent(dialog, std::string(title) + "  ").cx), kMinimumTitleWidth);
    layout.width = std::max({layout.boxWidth + layout.promptWidth, titleWidth, kMinimumWidth});
    layout.boxHeight = lineCount(startText) * promptSize.cy + 10;
    return layout;
}

// Centred across the owner's client area, a quarter of the way down, taken
// from the client origin of the owner's top-level window.
void place(HWND dialog, HWND owner, const DialogLayout& layout) {
    RECT ownerClient{};
    if (owner) GetClientRect(owner, &ownerClient);
    const int width = FormScale(dialog, layout.width);
    POINT corner{static_cast<LONG>(std::lround(ownerClient.right / 2.0 - width / 2.0)),
                 static_cast<LONG>(std::lround(ownerClient.bottom / 4.0))};
    if (owner) ClientToScreen(GetAncestor(owner, GA_ROOT), &corner);
    SetWindowPos(dialog, nullptr, corner.x, corner.y, FormScale(dialog, layout.width + 40),
                 FormScale(dialog, layout.boxHeight + 120), SWP_NOZORDER | SWP_NOACTIVATE);
}

void addControls(HWND dialog, std::string_view prompt, std::string_view startText,
                 const DialogLayout& layout) {
    const bool multiLine = lineCount(startText) > 1;
    const DWORD boxStyle =
        WS_TABSTOP | (multiLine ? ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL : ES_AUTOHSCROLL);
    const ControlDef controls[] = {
        {ControlKind::Label, kNoId, prompt, 5, 15, layout.promptWidth + 5, 20, SS_LEFT, 0},
        {ControlKind::TextBox, kSearchTextBox, startText, layout.promptWidth + 10, 15,
         layout.boxWidth + 5, layout.boxHeight, boxStyle, WS_EX_CLIENTEDGE},
        {ControlKind::CheckBox, kSearchFromTopBox, "Search from top", 10, 45, 210, 15,
         kDefaultStyle, 0},
        {ControlKind::PushButton, IDOK, "Ok", layout.width - 60, layout.boxHeight + 50, 80, 30,
         BS_DEFPUSHBUTTON | WS_TABSTOP, 0},
    };
    ControlAddAll(dialog, controls);
    ControlSetChecked(dialog, kSearchFromTopBox, true);
}

} // namespace

SearchTextAnswer askSearchText(std::string_view prompt, std::string_view boxTitle,
                               std::string_view startText, HWND owner) {
    FormLayout params;
    params.owner = owner;
    params.caption = std::string(boxTitle);
    params.pixels = true;
    params.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    HWND dialog = FormNew(params);
    if (!dialog) return {};
    const DialogLayout layout = measure(dialog, prompt, boxTitle, startText);
    place(dialog, owner, layout);
    addControls(dialog, prompt, startText, layout);

    SearchTextAnswer answer;
    bool textTaken = false;
    FormShowModal(dialog, [&](HWND window, UINT message, WPARAM wParam, LPARAM) -> intptr_t {
        switch (message) {
        case WM_INITDIALOG:
            // Focusing through the dialog manager also selects the whole text.
            PostMessageW(window, WM_NEXTDLGCTL,
                         reinterpret_cast<WPARAM>(ControlWindow(window, kSearchTextBox)), TRUE);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                answer.fromTop = ControlIsChecked(window, kSearchFromTopBox);
                FormEnd(window, IDOK);
                return 1;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                FormEnd(window, IDCANCEL);
                return 1;
            }
            return 0;
        case WM_CLOSE:
            // Every way out passes here while the text box still exists.
            if (!textTaken) answer.text = Trim(ControlGetText(window, kSearchTextBox));
            textTaken = true;
            return 0;
        default:
            return 0;
        }
    });
    return answer;
}

} // namespace plaxet
