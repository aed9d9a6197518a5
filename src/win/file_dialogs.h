#pragma once
// The open and save dialogs, answered by the user or by an installed
// responder (responder.h).
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "win/responder.h"

namespace plaxet {

struct FileDialogOptions {
    HWND owner = nullptr;
    std::string title;
    std::string initialFolder;
    std::vector<FileFilter> filter;
    std::string initialFile;
    std::string defaultExtension;
    DWORD flags = 0; // OFN_...; explorer look, the hook, no folder change and
                     // no read-only box are always added
    // Where the dialog goes, from the owner's top-left corner, in layout pixels
    // (see forms.h); 30, 30 when unset.
    std::optional<POINT> position;
};

// The chosen path, or the empty text when the user cancelled.
std::string OpenFileDialog(const FileDialogOptions& params);
std::string SaveFileDialog(const FileDialogOptions& params);

} // namespace plaxet
