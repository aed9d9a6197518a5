#include "win/form_rescale.h"

#include <commctrl.h>

#include <cwchar>
#include <vector>

#include "win/dpi.h"
#include "win/fonts.h"

namespace plaxet {
namespace {

bool isResizable(HWND form) {
    return (GetWindowLongW(form, GWL_STYLE) & WS_THICKFRAME) != 0;
}

bool hasClass(HWND window, const wchar_t* name) {
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    return _wcsicmp(className, name) == 0;
}

// A control as it stood before the change: its place in layout pixels and
// the view state that a new font could disturb.
struct ControlState {
    ControlRecord* control = nullptr;
    RECT layout{}; // left, top, width, height in layout pixels
    bool textBox = false;
    DWORD selectionStart = 0;
    DWORD selectionEnd = 0;
    int firstLine = 0;
    HTREEITEM firstVisible = nullptr;
};

ControlState captureControl(ControlRecord& control, HWND form, int dpi) {
    ControlState state;
    state.control = &control;
    RECT r{};
    GetWindowRect(control.window, &r);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
    state.layout = {scaleFromDpi(r.left, dpi), scaleFromDpi(r.top, dpi),
                    scaleFromDpi(r.right - r.left, dpi), scaleFromDpi(r.bottom - r.top, dpi)};
    state.textBox = hasClass(control.window, L"Edit");
    if (state.textBox) {
        SendMessageW(control.window, EM_GETSEL, reinterpret_cast<WPARAM>(&state.selectionStart),
                     reinterpret_cast<LPARAM>(&state.selectionEnd));
        state.firstLine = static_cast<int>(SendMessageW(control.window, EM_GETFIRSTVISIBLELINE, 0, 0));
    } else if (hasClass(control.window, WC_TREEVIEWW)) {
        state.firstVisible = reinterpret_cast<HTREEITEM>(
            SendMessageW(control.window, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0));
    }
    return state;
}

void applyControl(const ControlState& state, const FormRecord& form) {
    const ControlRecord& control = *state.control;
    HWND window = control.window;
    const int dpi = form.dpi;
    // The status bar places itself at the bottom when the form is sized.
    if (window != form.statusBar)
        SetWindowPos(window, nullptr, scaleToDpi(state.layout.left, dpi),
                     scaleToDpi(state.layout.top, dpi), scaleToDpi(state.layout.right, dpi),
                     scaleToDpi(state.layout.bottom, dpi),
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    if (HFONT font = control.font ? fontHandle(control.font, dpi) : nullptr)
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (control.leftMargin >= 0 && control.rightMargin >= 0)
        SendMessageW(window, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                     MAKELPARAM(scaleToDpi(control.leftMargin, dpi),
                                scaleToDpi(control.rightMargin, dpi)));
    if (state.textBox) {
        SendMessageW(window, EM_SETSEL, state.selectionStart, static_cast<LPARAM>(state.selectionEnd));
        const int firstLine = static_cast<int>(SendMessageW(window, EM_GETFIRSTVISIBLELINE, 0, 0));
        if (firstLine != state.firstLine)
            SendMessageW(window, EM_LINESCROLL, 0, state.firstLine - firstLine);
    } else if (state.firstVisible) {
        SendMessageW(window, TVM_SELECTITEM, TVGN_FIRSTVISIBLE,
                     reinterpret_cast<LPARAM>(state.firstVisible));
    }
}

// The client size of a form of fixed size at `dpi`.
SIZE fixedClientAt(const FormRecord& form, int dpi) {
    RECT client{};
    GetClientRect(form.window, &client);
    return {scaleToDpi(scaleFromDpi(client.right, form.dpi), dpi),
            scaleToDpi(scaleFromDpi(client.bottom, form.dpi), dpi)};
}

SIZE fixedSizeAt(const FormRecord& form, int dpi) {
    const SIZE client = fixedClientAt(form, dpi);
    return frameSizeForClient(form.window, client.cx, client.cy, dpi);
}

} // namespace

void rescaleForm(FormRecord& form, int dpi, const RECT* suggested) {
    HWND window = form.window;
    if (dpi <= 0) return;
    HWND focus = GetFocus();
    RECT frame{};
    GetWindowRect(window, &frame);
    if (suggested) frame = *suggested;
    SIZE size{frame.right - frame.left, frame.bottom - frame.top};
    const bool fixed = !isResizable(window);
    const SIZE fixedClient = fixedClientAt(form, dpi); // before the DPI changes
    if (fixed) size = fixedSizeAt(form, dpi);

    std::vector<ControlState> states;
    for (const auto& control : form.controls)
        if (IsWindow(control->window)) states.push_back(captureControl(*control, window, form.dpi));
    form.dpi = dpi;
    for (const ControlState& state : states) applyControl(state, form);
    applyFormIcons(form);

    SetWindowPos(window, nullptr, frame.left, frame.top, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // Where the system draws the frame at another DPI than it was asked for,
    // the client area is made right by the difference.
    if (fixed) fitClientSize(window, fixedClient.cx, fixedClient.cy);
    // Sized again even where the size stayed, so that what follows the
    // client size (the status bar, a window's own layout) is redone.
    RECT client{};
    GetClientRect(window, &client);
    SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    if (focus && IsWindow(focus) && GetFocus() != focus) SetFocus(focus);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

bool sizeAtDpi(const FormRecord& form, int dpi, SIZE& size) {
    if (dpi <= 0 || isResizable(form.window)) return false;
    size = fixedSizeAt(form, dpi);
    return true;
}

} // namespace plaxet
