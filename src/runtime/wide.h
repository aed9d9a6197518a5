#pragma once
// The one place where the program's UTF-8 text becomes UTF-16 and back, for
// Windows calls: window text, file names, the command line, the clipboard.
// Only Win32 code includes this header.
#include <string>
#include <string_view>

namespace plaxet {

std::wstring toWide(std::string_view utf8);
// A lone surrogate, which no UTF-8 text can hold, becomes U+FFFD.
std::string fromWide(std::wstring_view wide);

} // namespace plaxet
