#pragma once
// Forms: dialog-style windows made from an in-memory template, the event
// procedure that receives their messages, and the modal message loop.
#include <windows.h>

#include <climits>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace plaxet {

// Receives (window, message, wParam, lParam) and returns non-zero when it
// handled the message; the non-zero value becomes the dialog's result.
using EventProcedure = std::function<intptr_t(HWND, UINT, WPARAM, LPARAM)>;

// An x or y left unspecified centres the form in the desktop's work area.
inline constexpr int kCentred = INT_MIN;

// Pixels in a form's layout (sizes, control positions, offsets) are layout
// pixels: pixels at 96 DPI, which the toolkit scales by the DPI of the
// monitor the form is on (see dpi.h), and again when it moves to another.
struct FormLayout {
    HWND owner = nullptr;
    std::string caption;
    // An owned form's corner from the owner's client origin (dialog units,
    // or layout pixels with `pixels`); a form without owner: screen pixels.
    int x = kCentred;
    int y = kCentred;
    int width = 0;  // dialog units, or client size in layout pixels with `pixels`
    int height = 0; // likewise
    // Without a style: a modal-frame popup with a caption.
    std::optional<DWORD> style;
    DWORD extendedStyle = 0;
    bool pixels = false; // sizes and control positions in layout pixels, not dialog units
};

// Creates the form, not yet visible, and returns its window (null on failure).
HWND FormNew(const FormLayout& params);

// A modal dialog over `owner`, centred on it: a caption with a close box and
// a modal frame around a client area of `width` by `height` layout pixels.
FormLayout modalDialogLayout(HWND owner, std::string caption, int width, int height);

// Delivers WM_INITDIALOG and WM_SIZE to `procedure`, then registers it for
// every later message, disables the owner, shows the form and runs the modal
// message loop until the form's window is gone. Returns the result given to
// FormEnd (0 when the form went another way).
intptr_t FormShowModal(HWND form, EventProcedure procedure);

// How the message loop ended.
enum class LoopEnd { FormGone, Signalled, Quit };

// The program's one message loop: runs until `form` is gone or, given
// `object`, until that is signalled (`form` may then be null), sleeping in
// the system while no message waits; a form with an owner tells it once
// with WM_ENTERIDLE when the queue runs dry. Every message is offered first
// to the accelerators and dialog keys of the active window when that is an
// enabled form; key and mouse messages for a disabled window are dropped.
// A WM_QUIT ends a wait at once (Quit), while a form's loop closes its form
// the way the close box does, so the form may refuse; either way it is
// posted again for the loop around this one when this one ends.
LoopEnd RunMessageLoop(HWND form, HANDLE object = nullptr);

// The same start without the loop: returns once the form is shown.
void FormShowModeless(HWND form, EventProcedure procedure);

// Stores the result, lets the event procedure see WM_CLOSE, re-enables the
// owner and destroys the form with its accelerator table.
void FormEnd(HWND form, intptr_t result);

// Offers a message to the form's accelerator table and to its dialog keys
// (Tab, arrows, Enter, Esc); true when one of them consumed it. This is the
// keyboard step of the message loop.
bool FormOfferMessage(HWND form, MSG& message);

// Resizes the window so that its client area has the given size in layout
// pixels (for example after a menu bar took some of it), keeping its centre.
void FormSetClientSize(HWND form, int width, int height);

// Gives the form an icon of the program's resources (a name that lives as
// long as the form, or MAKEINTRESOURCEW of an id) for its title bar and,
// with `big`, for the task switcher, each at the size the form's DPI asks
// for; made again when the form moves to another DPI. Silent when the
// program holds no such icon.
void FormSetIcon(HWND form, LPCWSTR resource, bool big);

// The DPI the form is laid out for (any other window: its own DPI).
int FormDpi(HWND window);
// A layout figure in the window's pixels, and back.
int FormScale(HWND window, int value);
int FormUnscale(HWND window, int value);
// The form's client area in layout pixels.
SIZE FormClientSize(HWND form);

// Replaces the form's accelerator table (each ACCEL: flags, key, command).
void AcceleratorsSet(HWND form, const std::vector<ACCEL>& entries);

} // namespace plaxet
