#pragma once
// The one place where ANSI text becomes UTF-16 and back, for Windows calls.
// Only Win32 code includes this header.
#include <string>
#include <string_view>

namespace plaxet {

std::wstring toWide(std::string_view ansi);
std::string fromWide(std::wstring_view wide);

} // namespace plaxet
