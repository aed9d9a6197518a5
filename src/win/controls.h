#pragma once
// Child controls of a form, named by the form and their id, created from
// plain descriptions so that a window's layout reads as a table.
#include <windows.h>

#include <span>
#include <string>
#include <string_view>

#include "win/forms.h"

namespace plaxet {

enum class ControlKind {
    PushButton,
    CheckBox,
    GroupBox,
    Label,
    OptionButton,
    ScrollBar,
    TextBox,
    TreeView,
    StatusBar,
};

// Controls that nobody addresses share this id.
inline constexpr int kNoId = -1;
// The id that names the form window itself (for colours).
inline constexpr int kFormItself = static_cast<int>(0x80000000u);
// The style that stands for the kind's default style.
inline constexpr DWORD kDefaultStyle = 0xFFFFFFFF;

struct ControlDef {
    ControlKind kind = ControlKind::Label;
    int id = kNoId;
    std::string_view text;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    // kDefaultStyle means the kind's default style; a given style gets the
    // kind's class bits and WS_CHILD | WS_VISIBLE added.
    DWORD style = kDefaultStyle;
    DWORD extendedStyle = 0;
};

// Creates one control (positions in the form's units: dialog units, or
// layout pixels, which the toolkit scales by the form's DPI). Creation order is the
// tab order. `procedure`, when given, sees the control's WM_COMMAND (and, for
// a scroll bar, WM_HSCROLL / WM_VSCROLL) before the form does.
HWND ControlAdd(HWND form, const ControlDef& params, EventProcedure procedure = {});
// Creates every control of a layout table, in its order.
void ControlAddAll(HWND form, std::span<const ControlDef> layout);

// The control's window, or the form for kFormItself; null when absent.
HWND ControlWindow(HWND form, int id);

void ControlSetText(HWND form, int id, std::string_view text);
std::string ControlGetText(HWND form, int id);
void ControlEnable(HWND form, int id, bool enabled);
bool ControlIsEnabled(HWND form, int id);
// Brings the control's form to the foreground, then focuses the control.
void ControlSetFocus(HWND form, int id);
void ControlKill(HWND form, int id);
// Places and sizes in layout pixels (see forms.h).
void ControlMove(HWND form, int id, int x, int y);
void ControlResize(HWND form, int id, int width, int height);

struct ControlBounds {
    int x = 0; // relative to the parent's client area
    int y = 0;
    int width = 0;
    int height = 0;
};
// Position in the parent's client area and the window size, in layout
// pixels (the form itself: its frame on the screen, in screen pixels).
ControlBounds ControlGetBounds(HWND form, int id);

// Colours are COLORREF values or one of these.
inline constexpr COLORREF kDefaultColor = CLR_INVALID;
inline constexpr COLORREF kTransparent = static_cast<COLORREF>(-2);
// Applied whenever the control asks its form for colours (WM_CTLCOLOR...).
void ControlSetColors(HWND form, int id, COLORREF text, COLORREF background);
// Gives the control a font of the font table (see fonts.h), made for the
// form's DPI.
void ControlSetFont(HWND form, int id, int fontNumber);
// A text box's left and right margins, in layout pixels.
void TextBoxSetMargins(HWND form, int id, int left, int right);

// SendMessageW to the control, for messages that carry no text.
LRESULT ControlSend(HWND form, int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// The grey hint that an empty text box shows, kept while it has the focus
// (the cue banner of Common Controls 6, chosen in the program's manifest).
void TextBoxSetHint(HWND form, int id, std::string_view hint);

bool ControlIsChecked(HWND form, int id);
void ControlSetChecked(HWND form, int id, bool checked);
// Checks `checked` among the option buttons first..last and clears the others.
void OptionSelect(HWND form, int first, int last, int checked);

} // namespace plaxet
