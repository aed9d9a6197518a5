#include "runtime/paths.h"

#include "runtime/wide.h"

#include <windows.h>

#include <vector>

namespace plaxet {

std::string fullPath(const std::string& path) {
    if (path.empty()) return path;
    const std::wstring wide = toWide(path);
    const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return path;
    std::vector<wchar_t> buffer(needed);
    const DWORD length = GetFullPathNameW(wide.c_str(), needed, buffer.data(), nullptr);
    if (length == 0 || length >= needed) return path;
    return fromWide({buffer.data(), length});
}

} // namespace plaxet
