#include "form/data_folder.h"

#include "runtime/wide.h"
#include "runtime/win32_owners.h"

#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include <vector>

namespace plaxet {

std::string knownFolderPath(int folderId) {
    const ComApartment com;
    LPITEMIDLIST found = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, folderId, &found)) || !found) return {};
    const UniqueCoTaskMemory<ITEMIDLIST> items(found);
    char buffer[MAX_PATH] = {};
    return SHGetPathFromIDListA(items.get(), buffer) ? std::string(buffer) : std::string();
}

std::string runningProgramFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return folderPart(fromWide({buffer.data(), length}));
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace plaxet
