#include "form/data_folder.h"

#include "runtime/wide.h"
#include "runtime/win32_owners.h"

#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include <knownfolders.h>

#include <vector>

namespace plaxet {
namespace {

// The shell's known folders behind the folder numbers the data-folder rule uses.
const KNOWNFOLDERID* knownFolderOf(int folderId) {
    switch (folderId) {
    case kProgramFilesFolderId:
        return &FOLDERID_ProgramFiles;
    case kCommonAppDataFolderId:
        return &FOLDERID_ProgramData;
    default:
        return nullptr;
    }
}

} // namespace

// Through the wide API, as every path inside the program is UTF-8: a folder
// whose name the code page cannot spell comes back whole.
std::string knownFolderPath(int folderId) {
    const KNOWNFOLDERID* folder = knownFolderOf(folderId);
    if (!folder) return {};
    const ComApartment com;
    wchar_t* found = nullptr;
    const HRESULT status = SHGetKnownFolderPath(*folder, KF_FLAG_DEFAULT, nullptr, &found);
    // The path is the caller's to free even when the call fails.
    const UniqueCoTaskMemory<wchar_t> path(found);
    return SUCCEEDED(status) && found ? fromWide(found) : std::string();
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
