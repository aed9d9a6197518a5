#pragma once
// Laying a form out again when it moves to a monitor of another DPI.
// Internal to the toolkit (forms.cpp answers the system's messages with it).
#include <windows.h>

#include "win/form_record.h"

namespace plaxet {

// WM_GETDPISCALEDSIZE, which older headers lack.
inline constexpr UINT kGetDpiScaledSize = 0x02E4;

// WM_DPICHANGED: every control moves to its layout place at `dpi` and gets
// its fonts and margins made for it; the form takes the suggested rectangle
// (a form of fixed size keeps its layout's client size at the new DPI).
// Focus, selections, scroll positions and texts stay as they were.
void rescaleForm(FormRecord& form, int dpi, const RECT* suggested);

// WM_GETDPISCALEDSIZE: the window size a form of fixed size wants at `dpi`;
// false for a resizable form, which the system scales as it likes.
bool sizeAtDpi(const FormRecord& form, int dpi, SIZE& size);

} // namespace plaxet
