#include "runtime/program_arguments.h"

namespace plaxet {

std::vector<std::string> programArguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

} // namespace plaxet
