#pragma once
// Display scale. Every window's layout is written in pixels at 96 DPI; the
// toolkit scales those figures by the DPI of the monitor the window is on.
// The DPI functions of newer systems are looked up at run time, so the
// program still starts where they are missing (older Windows, some Wine).
#include <windows.h>

namespace plaxet {

// The DPI at which layout figures are meant: one layout pixel, one pixel.
inline constexpr int kLayoutDpi = 96;

// The window's DPI: the system's answer for that window where it has one,
// else the pixels per inch of the window's device context.
int windowDpi(HWND window);

// A layout figure in pixels at `dpi`, rounded to the nearest pixel; a figure
// that is not zero never shrinks to nothing, so a rule stays visible.
int scaleToDpi(int value, int dpi);
// Pixels at `dpi` back in layout figures, rounded to the nearest. For every
// dpi >= 96 it undoes scaleToDpi exactly.
int scaleFromDpi(int value, int dpi);

// The window size whose client area is `width` x `height` pixels, with the
// frame, caption and menu bar the window has at `dpi`.
SIZE frameSizeForClient(HWND window, int width, int height, int dpi);

// Resizes the window, keeping its top-left corner, until its client area is
// `width` x `height` pixels (once more when the frame it has differs from
// the one the system predicted).
void fitClientSize(HWND window, int width, int height);

// Leaves moving to another monitor's DPI to the toolkit: the system would
// otherwise move a dialog's controls and change their fonts by itself.
void keepDialogScalingToProgram(HWND dialog);

} // namespace plaxet
