#include "win/controls.h"

#include <commctrl.h>

#include <algorithm>

#include "win/dpi.h"
#include "win/fonts.h"
#include "win/form_record.h"
#include "runtime/wide.h"

namespace plaxet {
namespace {

struct KindTraits {
    const wchar_t* className;
    DWORD classBits;    // always part of the style
    DWORD defaultStyle; // when the caller gives none
};

KindTraits traitsOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::PushButton:
        return {L"BUTTON", BS_PUSHBUTTON, BS_PUSHBUTTON | WS_TABSTOP};
    case ControlKind::CheckBox:
        return {L"BUTTON", BS_AUTOCHECKBOX, BS_AUTOCHECKBOX | WS_TABSTOP};
    case ControlKind::GroupBox:
        return {L"BUTTON", BS_GROUPBOX, BS_GROUPBOX};
    case ControlKind::Label:
        return {L"STATIC", SS_LEFT, SS_LEFT};
    case ControlKind::OptionButton:
        return {L"BUTTON", BS_AUTORADIOBUTTON, BS_AUTORADIOBUTTON | WS_TABSTOP};
    case ControlKind::ScrollBar:
        return {L"SCROLLBAR", 0, SBS_HORZ};
    case ControlKind::TextBox:
        return {L"EDIT", 0, ES_AUTOHSCROLL | WS_TABSTOP};
    case ControlKind::TreeView:
        return {WC_TREEVIEWW, 0,
                TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_TABSTOP};
    case ControlKind::StatusBar:
        return {STATUSCLASSNAMEW, 0, CCS_BOTTOM};
    }
    return {L"STATIC", 0, 0};
}

// Wine 8's edit control keeps the cue banner of a right-aligned or centred
// box but does not draw it; under Wine such a box gets the hint drawn over
// its own painting. Windows draws it itself and needs no help.
bool runningUnderWine() {
    static const bool wine =
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
}

constexpr UINT_PTR kHintPainterId = 1;

LRESULT CALLBACK paintHint(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                           DWORD_PTR) {
    const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
    if (message == WM_NCDESTROY) RemoveWindowSubclass(box, paintHint, kHintPainterId);
    if (message != WM_PAINT || GetWindowTextLengthW(box) != 0) return result;
    wchar_t hint[256] = {};
    SendMessageW(box, EM_GETCUEBANNER, reinterpret_cast<WPARAM>(hint), 256);
    if (hint[0] == L'\0') return result;
    RECT area{};
    SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
    const WindowDc owned(box);
    const HDC dc = owned.get();
    const SelectedObject font(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    SetBkMode(dc, TRANSPARENT);
    const UINT alignment = (GetWindowLongW(box, GWL_STYLE) & ES_RIGHT) ? DT_RIGHT : DT_CENTER;
    DrawTextW(dc, hint, -1, &area, alignment | DT_SINGLELINE | DT_NOPREFIX);
    return result;
}

ControlRecord* recordOf(HWND form, int id) {
    FormRecord* record = findFormRecord(form);
    if (!record) return nullptr;
    if (id == kFormItself) return &record->self;
    return findControlRecord(*record, GetDlgItem(form, id));
}

} // namespace

HWND ControlAdd(HWND form, const ControlDef& params, EventProcedure procedure) {
    FormRecord* record = findFormRecord(form);
    if (!record) return nullptr;
    const KindTraits traits = traitsOf(params.kind);
    DWORD style = 0;
    DWORD extendedStyle = params.extendedStyle;
    if (params.style != kDefaultStyle) {
        style = params.style | traits.classBits;
    } else {
        style = traits.defaultStyle;
        if (params.kind == ControlKind::ScrollBar && params.height > params.width)
            style |= SBS_VERT;
        // The default text box border is drawn as a sunken edge, not a flat line.
        if (params.kind == ControlKind::TextBox) extendedStyle |= WS_EX_CLIENTEDGE;
    }
    style |= WS_CHILD | WS_VISIBLE;

    RECT bounds{params.x, params.y, params.x + params.width, params.y + params.height};
    if (!record->pixels) {
        MapDialogRect(form, &bounds);
    } else { // place and size each scaled on its own, so a rule stays a rule
        bounds.left = scaleToDpi(params.x, record->dpi);
        bounds.top = scaleToDpi(params.y, record->dpi);
        bounds.right = bounds.left + scaleToDpi(params.width, record->dpi);
        bounds.bottom = bounds.top + scaleToDpi(params.height, record->dpi);
    }
    HWND control = CreateWindowExW(extendedStyle, traits.className, toWide(params.text).c_str(),
                                   style, bounds.left, bounds.top, bounds.right - bounds.left,
                                   bounds.bottom - bounds.top, form,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(params.id)),
                                   GetModuleHandleW(nullptr), nullptr);
    if (!control) return nullptr;

    SendMessageW(control, WM_SETFONT,
                 reinterpret_cast<WPARAM>(fontHandle(kDefaultFormFont, record->dpi)), FALSE);
    if (params.kind == ControlKind::ScrollBar) {
        SCROLLINFO range{sizeof(range), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 0, 0};
        SetScrollInfo(control, SB_CTL, &range, FALSE);
    }
    if (params.kind == ControlKind::StatusBar) record->statusBar = control;

    auto added = std::make_unique<ControlRecord>();
    added->window = control;
    added->id = params.id;
    added->kind = params.kind;
    added->font = kDefaultFormFont;
    added->procedure = std::move(procedure);
    record->controls.push_back(std::move(added));
    return control;
}

void ControlAddAll(HWND form, std::span<const ControlDef> layout) {
    for (const ControlDef& params : layout) ControlAdd(form, params);
}

HWND ControlWindow(HWND form, int id) {
    if (!IsWindow(form)) return nullptr;
    if (id == kFormItself) return form;
    return GetDlgItem(form, id);
}

void ControlSetText(HWND form, int id, std::string_view text) {
    if (HWND control = ControlWindow(form, id)) SetWindowTextW(control, toWide(text).c_str());
}

std::string ControlGetText(HWND form, int id) {
    HWND control = ControlWindow(form, id);
    if (!control) return {};
    const int length = GetWindowTextLengthW(control);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(control, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return fromWide(text);
}

void ControlEnable(HWND form, int id, bool enabled) {
    if (HWND control = ControlWindow(form, id)) EnableWindow(control, enabled ? TRUE : FALSE);
}

bool ControlIsEnabled(HWND form, int id) {
    HWND control = ControlWindow(form, id);
    return control && IsWindowEnabled(control);
}

void ControlSetFocus(HWND form, int id) {
    HWND control = ControlWindow(form, id);
    if (!control) return;
    SetForegroundWindow(GetAncestor(control, GA_ROOT));
    SetFocus(control);
}

void ControlKill(HWND form, int id) {
    FormRecord* record = findFormRecord(form);
    HWND control = ControlWindow(form, id);
    if (!record || !control || control == form) return;
    DestroyWindow(control);
    auto& controls = record->controls;
    auto found = std::find_if(controls.begin(), controls.end(),
                              [control](const auto& c) { return c->window == control; });
    if (found == controls.end()) return;
    controls.erase(found);
}

void ControlMove(HWND form, int id, int x, int y) {
    if (HWND control = ControlWindow(form, id))
        SetWindowPos(control, nullptr, FormScale(form, x), FormScale(form, y), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ControlResize(HWND form, int id, int width, int height) {
    if (HWND control = ControlWindow(form, id))
        SetWindowPos(control, nullptr, 0, 0, FormScale(form, width), FormScale(form, height),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

ControlBounds ControlGetBounds(HWND form, int id) {
    HWND control = ControlWindow(form, id);
    if (!control) return {};
    RECT r{};
    GetWindowRect(control, &r);
    HWND parent = GetParent(control);
    // Top-level windows (the form itself) are given in screen pixels.
    if (!parent || !(GetWindowLongW(control, GWL_STYLE) & WS_CHILD))
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return {FormUnscale(form, r.left), FormUnscale(form, r.top), FormUnscale(form, r.right - r.left),
            FormUnscale(form, r.bottom - r.top)};
}

void ControlSetColors(HWND form, int id, COLORREF text, COLORREF background) {
    ControlRecord* record = recordOf(form, id);
    if (!record) return;
    record->textColor = text;
    if (record->backgroundColor != background) record->backgroundBrush.reset();
    record->backgroundColor = background;
    InvalidateRect(record->window, nullptr, TRUE);
}

void ControlSetFont(HWND form, int id, int fontNumber) {
    ControlRecord* record = recordOf(form, id);
    HFONT font = fontHandle(fontNumber, FormDpi(form));
    if (!record || !font) return;
    record->font = fontNumber; // made again for the DPI of another monitor
    SendMessageW(record->window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void TextBoxSetMargins(HWND form, int id, int left, int right) {
    ControlRecord* record = recordOf(form, id);
    if (!record || left < 0 || right < 0) return;
    record->leftMargin = left;
    record->rightMargin = right;
    SendMessageW(record->window, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                 MAKELPARAM(FormScale(form, left), FormScale(form, right)));
}

LRESULT ControlSend(HWND form, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND control = ControlWindow(form, id);
    return control ? SendMessageW(control, message, wParam, lParam) : 0;
}

void TextBoxSetHint(HWND form, int id, std::string_view hint) {
    HWND box = ControlWindow(form, id);
    if (!box) return;
    const std::wstring text = toWide(hint);
    SendMessageW(box, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    const bool aligned = GetWindowLongW(box, GWL_STYLE) & (ES_RIGHT | ES_CENTER);
    if (aligned && runningUnderWine())
        SetWindowSubclass(box, paintHint, kHintPainterId, 0); // once per box: same id
    InvalidateRect(box, nullptr, TRUE);
}

bool ControlIsChecked(HWND form, int id) {
    return ControlSend(form, id, BM_GETCHECK) == BST_CHECKED;
}

void ControlSetChecked(HWND form, int id, bool checked) {
    ControlSend(form, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
}

void OptionSelect(HWND form, int first, int last, int checked) {
    if (IsWindow(form)) CheckRadioButton(form, first, last, checked);
}

} // namespace plaxet
