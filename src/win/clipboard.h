#pragma once
// The clipboard, as text.
#include <windows.h>

#include <string>
#include <string_view>

namespace plaxet {

// The clipboard is opened for one of the program's windows: with no window
// the system gives the emptied clipboard no owner and refuses new data.
// Replaces the clipboard's content with the text (as CF_UNICODETEXT).
// On failure the clipboard is left as it was.
bool ClipboardSetText(HWND owner, std::string_view text);
// The clipboard's text, or the empty text when it holds none.
std::string ClipboardGetText(HWND owner);

} // namespace plaxet
