#include "win/file_dialogs.h"

#include <commdlg.h>

#include "runtime/wide.h"
#include "win/forms.h"

namespace plaxet {
namespace {

constexpr DWORD kAlwaysFlags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
constexpr int kDefaultOffset = 30;
constexpr DWORD kPathCapacity = 32768;

struct Placement {
    HWND owner = nullptr;
    POINT offset{kDefaultOffset, kDefaultOffset};
};

void placeDialog(HWND dialog, const Placement& placement) {
    if (!placement.owner) return;
    RECT owner{};
    GetWindowRect(placement.owner, &owner);
    // The offset is in layout pixels, scaled like the owner's own layout.
    SetWindowPos(dialog, nullptr, owner.left + FormScale(placement.owner, placement.offset.x),
                 owner.top + FormScale(placement.owner, placement.offset.y), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// With the explorer look the hook runs in a child of the real dialog, so the
// dialog to move is the hook window's parent. The dialog may still move
// itself after the hook's WM_INITDIALOG, so the place is set again once the
// dialog reports that it is ready (CDN_INITDONE).
UINT_PTR CALLBACK placementHook(HWND hook, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto* request = reinterpret_cast<const OPENFILENAMEW*>(lParam);
        placeDialog(GetParent(hook), *reinterpret_cast<const Placement*>(request->lCustData));
    } else if (message == WM_NOTIFY) {
        const auto* notice = reinterpret_cast<const OFNOTIFYW*>(lParam);
        if (notice->hdr.code == CDN_INITDONE)
            placeDialog(GetParent(hook),
                        *reinterpret_cast<const Placement*>(notice->lpOFN->lCustData));
    }
    return 0;
}

std::string runFileDialog(const FileDialogOptions& params, RequestKind kind) {
    const DWORD flags = params.flags | kAlwaysFlags;
    UserRequest request;
    request.kind = kind;
    request.title = params.title;
    request.style = flags;
    request.initialFolder = params.initialFolder;
    request.initialFile = params.initialFile;
    request.defaultExtension = params.defaultExtension;
    request.filter = params.filter;
    request.owner = params.owner;
    if (const auto answer = answerFromResponder(request)) return answer->path;

    std::wstring filter;
    for (const FileFilter& entry : params.filter) {
        filter += toWide(entry.description);
        filter.push_back(L'\0');
        filter += toWide(entry.pattern);
        filter.push_back(L'\0');
    }
    filter.push_back(L'\0');
    std::wstring path(kPathCapacity, L'\0');
    const std::wstring initialFile = toWide(params.initialFile);
    initialFile.copy(path.data(), kPathCapacity - 1);
    const std::wstring title = toWide(params.title);
    const std::wstring folder = toWide(params.initialFolder);
    const std::wstring extension = toWide(params.defaultExtension);
    Placement placement{params.owner,
                        params.position.value_or(POINT{kDefaultOffset, kDefaultOffset})};

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = params.owner;
    dialog.hInstance = GetModuleHandleW(nullptr);
    dialog.lpstrFilter = params.filter.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = kPathCapacity;
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    dialog.Flags = flags;
    dialog.lCustData = reinterpret_cast<LPARAM>(&placement);
    dialog.lpfnHook = placementHook;
    const BOOL chosen =
        kind == RequestKind::SaveFile ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen) return {};
    return fromWide(path.c_str());
}

} // namespace

std::string OpenFileDialog(const FileDialogOptions& params) {
    return runFileDialog(params, RequestKind::OpenFile);
}

std::string SaveFileDialog(const FileDialogOptions& params) {
    return runFileDialog(params, RequestKind::SaveFile);
}

} // namespace plaxet
