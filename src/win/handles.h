#pragma once
// Owners of the Win32 handles that the program creates or borrows, every one
// of them in this header. Window handles are plain values: the system
// destroys child windows with their parent.
#include <windows.h>

#include <memory>
#include <type_traits>

namespace plaxet {

struct GdiObjectRelease {
    void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
struct MenuRelease {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct AcceleratorRelease {
    void operator()(HACCEL table) const { DestroyAcceleratorTable(table); }
};
struct KernelHandleRelease {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};

using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectRelease>;
using UniqueBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectRelease>;
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuRelease>;
using UniqueAccelerators = std::unique_ptr<std::remove_pointer_t<HACCEL>, AcceleratorRelease>;
using UniqueKernelHandle = std::unique_ptr<void, KernelHandleRelease>;

// A window's device context (the screen's for no window), released when it
// goes out of scope.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

} // namespace plaxet
