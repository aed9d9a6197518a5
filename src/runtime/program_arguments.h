#pragma once
// The command-line arguments of a program's main, as UTF-8 text, program name first.
#include <string>
#include <vector>

namespace plaxet {

// On Linux the arguments as given (UTF-8 there); on Windows the whole
// command line asked of the system in UTF-16, so that no character of a
// file name is lost to the ANSI code page.
std::vector<std::string> programArguments(int argc, char** argv);

} // namespace plaxet
