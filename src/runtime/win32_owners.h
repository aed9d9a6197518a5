#pragma once
// Owners of the Windows handles and memory that the core's Windows files
// (the *_win32.cpp files of src/runtime and src/form) take from the system,
// all made from the one owner template (runtime/unique_handle.h), and the
// one COM apartment scope. The window toolkit builds its own owners from the
// same template (src/win/handles.h); this header stays below it and includes
// nothing of it.
#include "runtime/unique_handle.h"

#include <windows.h>

#include <objbase.h>

namespace plaxet {

// The value a failed CreateFileW or FindFirstFileW returns.
struct InvalidHandle {
    static HANDLE value() { return INVALID_HANDLE_VALUE; }
};

struct LocalMemoryRelease {
    void operator()(void* memory) const { LocalFree(memory); }
};
struct FileSearchRelease {
    void operator()(HANDLE search) const { FindClose(search); }
};
struct CoTaskMemoryRelease {
    void operator()(void* memory) const { CoTaskMemFree(memory); }
};
struct ProcessHeapRelease {
    void operator()(void* memory) const { HeapFree(GetProcessHeap(), 0, memory); }
};
struct ComRelease {
    void operator()(IUnknown* object) const { object->Release(); }
};

// Memory the system allocated with LocalAlloc for the caller (a message text).
template <typename T> using UniqueLocalMemory = UniqueHandle<T*, LocalMemoryRelease>;
// A search of FindFirstFileW; none is INVALID_HANDLE_VALUE, as the call returns it.
using UniqueFileSearch = UniqueHandle<HANDLE, FileSearchRelease, InvalidHandle>;
// Memory the system allocated with CoTaskMemAlloc for the caller.
template <typename T> using UniqueCoTaskMemory = UniqueHandle<T*, CoTaskMemoryRelease>;
// Memory the system allocated from the process heap for the caller.
template <typename T> using UniqueProcessHeapMemory = UniqueHandle<T*, ProcessHeapRelease>;
// One reference to a COM object, given back with Release.
template <typename T> using UniqueComObject = UniqueHandle<T*, ComRelease>;

// The calling thread in a single-threaded COM apartment (as the shell's
// calls and document openers need it) for as long as this lives: the
// program's whole run (plaxet.exe enters it first thing), or one call into
// the shell. Where the thread is already in an apartment this only counts
// once more, and leaving gives that count back.
class ComApartment {
  public:
    ComApartment()
        : entered_(SUCCEEDED(
              CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComApartment() {
        if (entered_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool entered_;
};

} // namespace plaxet
