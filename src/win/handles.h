#pragma once
// Owners of the Win32 handles that the toolkit creates. Window handles are
// plain values: the system destroys child windows with their parent.
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

} // namespace plaxet
