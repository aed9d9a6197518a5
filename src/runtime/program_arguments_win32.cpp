#include "runtime/program_arguments.h"

#include "runtime/wide.h"

#include <windows.h>

#include <shellapi.h>

namespace plaxet {

std::vector<std::string> programArguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    arguments.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) arguments.push_back(fromWide(wide[i]));
    LocalFree(wide);
    return arguments;
}

} // namespace plaxet
