#include "win/clipboard.h"

#include <cstring>

#include "runtime/wide.h"
#include "win/handles.h"

namespace plaxet {

bool ClipboardSetText(HWND owner, std::string_view text) {
    const std::wstring wide = toWide(text);
    const size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory) return false;
    void* target = GlobalLock(memory.get());
    if (!target) return false;
    std::memcpy(target, wide.c_str(), bytes);
    GlobalUnlock(memory.get());

    // Everything is ready before the clipboard is emptied, so a failure up
    // to here leaves the old content in place.
    OpenedClipboard clipboard(owner);
    if (!clipboard.isOpen() || !EmptyClipboard()) return false;
    if (!SetClipboardData(CF_UNICODETEXT, memory.get())) return false;
    memory.release(); // the clipboard owns it now
    return true;
}

std::string ClipboardGetText(HWND owner) {
    OpenedClipboard clipboard(owner);
    if (!clipboard.isOpen()) return {};
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (!data) return {};
    const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
    if (!text) return {};
    std::string result = fromWide(text);
    GlobalUnlock(data);
    return result;
}

} // namespace plaxet
