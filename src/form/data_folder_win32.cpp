#include "form/data_folder.h"

#include "runtime/wide.h"

#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include <vector>

namespace plaxet {

std::string knownFolderPath(int folderId) {
    std::string path;
    const HRESULT initialised = CoInitialize(nullptr);
    LPITEMIDLIST items = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, folderId, &items)) && items) {
        char buffer[MAX_PATH] = {};
        if (SHGetPathFromIDListA(items, buffer)) path = buffer;
        CoTaskMemFree(items);
    }
    if (SUCCEEDED(initialised)) CoUninitialize();
    return path;
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
