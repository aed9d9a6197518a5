#include "win/dpi.h"

#include <cstdlib>

#include "win/handles.h"

namespace plaxet {
namespace {

// A function of user32 that older systems lack, or null.
template <typename Function> Function user32Function(const char* name) {
    static const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Function>(
                        reinterpret_cast<void (*)()>(GetProcAddress(user32, name)))
                  : nullptr;
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using SetDialogDpiChangeBehaviorFunction = BOOL(WINAPI*)(HWND, int, int);

// DIALOG_DPI_CHANGE_BEHAVIORS: DDC_DISABLE_ALL, which older headers lack.
constexpr int kDisableAllDialogScaling = 1;

} // namespace

int windowDpi(HWND window) {
    static const auto getDpiForWindow = user32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow && window) {
        if (const UINT dpi = getDpiForWindow(window); dpi > 0) return static_cast<int>(dpi);
    }
    const WindowDc dc(window);
    const int dpi = dc.get() ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : kLayoutDpi;
}

int scaleToDpi(int value, int dpi) {
    const int scaled = MulDiv(value, dpi, kLayoutDpi); // rounds half away from zero
    if (value != 0 && scaled == 0) return value > 0 ? 1 : -1;
    return scaled;
}

int scaleFromDpi(int value, int dpi) {
    if (dpi <= 0) return value;
    return MulDiv(value, kLayoutDpi, dpi);
}

SIZE frameSizeForClient(HWND window, int width, int height, int dpi) {
    static const auto adjustForDpi =
        user32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    RECT frame{0, 0, width, height};
    const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    const auto extendedStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
    const BOOL menu = GetMenu(window) != nullptr;
    if (!adjustForDpi || !adjustForDpi(&frame, style, menu, extendedStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&frame, style, menu, extendedStyle);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void fitClientSize(HWND window, int width, int height) {
    RECT client{};
    GetClientRect(window, &client);
    if (client.right == width && client.bottom == height) return;
    RECT frame{};
    GetWindowRect(window, &frame);
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + width - client.right,
                 frame.bottom - frame.top + height - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void keepDialogScalingToProgram(HWND dialog) {
    static const auto setBehavior =
        user32Function<SetDialogDpiChangeBehaviorFunction>("SetDialogDpiChangeBehavior");
    if (setBehavior) setBehavior(dialog, kDisableAllDialogScaling, kDisableAllDialogScaling);
}

} // namespace plaxet
