#pragma once
// Owners of the Win32 handles that the program creates or borrows, every one
// of them in this header, made from the runtime's one owner template.
// Window handles are plain values: the system destroys child windows with
// their parent.
#include "runtime/unique_handle.h"

#include <windows.h>

#include <winspool.h>

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
struct GlobalRelease {
    void operator()(void* memory) const { GlobalFree(memory); }
};
struct DeviceContextRelease {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
struct IconRelease {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct PrinterHandleRelease {
    void operator()(HANDLE printer) const { ClosePrinter(printer); }
};

using UniqueFont = UniqueHandle<HFONT, GdiObjectRelease>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectRelease>;
using UniqueMenu = UniqueHandle<HMENU, MenuRelease>;
using UniqueAccelerators = UniqueHandle<HACCEL, AcceleratorRelease>;
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleRelease>;
using UniqueGlobal = UniqueHandle<HGLOBAL, GlobalRelease>;
using UniqueDeviceContext = UniqueHandle<HDC, DeviceContextRelease>;
using UniqueIcon = UniqueHandle<HICON, IconRelease>;
using UniquePrinterHandle = UniqueHandle<HANDLE, PrinterHandleRelease>;

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

// Objects selected into a device context: the object that the first of them
// replaced there is selected back when this goes (or on restore), so the
// context is left as it was found before it or the objects are released.
// Declare it after the owners of the context and of the objects it selects.
class SelectedObject {
  public:
    SelectedObject() = default;
    SelectedObject(HDC dc, HGDIOBJ object) { select(dc, object); }
    ~SelectedObject() { restore(); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

    // False when the object could not be selected; the one before stays.
    bool select(HDC dc, HGDIOBJ object) {
        if (!dc || !object) return false;
        const HGDIOBJ replaced = SelectObject(dc, object);
        if (!replaced || replaced == HGDI_ERROR) return false;
        if (!original_) {
            dc_ = dc;
            original_ = replaced;
        }
        return true;
    }
    void restore() {
        if (original_) SelectObject(dc_, original_);
        dc_ = nullptr;
        original_ = nullptr;
    }

  private:
    HDC dc_ = nullptr;
    HGDIOBJ original_ = nullptr; // belongs to the device context
};

// A movable memory block locked for the lifetime of the object.
template <typename T> class LockedGlobal {
  public:
    explicit LockedGlobal(HGLOBAL memory)
        : memory_(memory), data_(memory ? static_cast<T*>(GlobalLock(memory)) : nullptr) {}
    ~LockedGlobal() {
        if (data_) GlobalUnlock(memory_);
    }
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;
    T* get() const { return data_; }

  private:
    HGLOBAL memory_;
    T* data_;
};

// The clipboard, open for one of the program's windows for the lifetime of
// one operation.
class OpenedClipboard {
  public:
    explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~OpenedClipboard() {
        if (open_) CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    bool isOpen() const { return open_; }

  private:
    bool open_;
};

} // namespace plaxet
