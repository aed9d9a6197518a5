#pragma once
// Owners of the Windows handles and memory that the core's Windows files
// (the *_win32.cpp files of src/runtime and src/form) take from the system,
// in one place. The window toolkit has its own (src/win/handles.h); this
// header stays below it and includes nothing of it.
#include <windows.h>

#include <objbase.h>

#include <memory>

namespace plaxet {

struct LocalMemoryRelease {
    void operator()(void* memory) const { LocalFree(memory); }
};
struct FileSearchRelease {
    void operator()(HANDLE search) const { FindClose(search); }
};
struct CoTaskMemoryRelease {
    void operator()(void* memory) const { CoTaskMemFree(memory); }
};

// Memory the system allocated with LocalAlloc for the caller (a message text).
template <typename T> using UniqueLocalMemory = std::unique_ptr<T, LocalMemoryRelease>;
// A search of FindFirstFileW, never INVALID_HANDLE_VALUE.
using UniqueFileSearch = std::unique_ptr<void, FileSearchRelease>;
// Memory the system allocated with CoTaskMemAlloc for the caller.
template <typename T> using UniqueCoTaskMemory = std::unique_ptr<T, CoTaskMemoryRelease>;

// COM for the calling thread, for the lifetime of one call into the shell.
class ComScope {
  public:
    ComScope() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComScope() {
        if (initialised_) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

  private:
    bool initialised_;
};

} // namespace plaxet
