// Placeholder: the help file commands arrive with the help topic file.
#include "cli/commands.h"

#include <cstdio>

namespace plaxet::cli {
int buildHelp(const Arguments&) {
    std::fprintf(stderr, "plaxet-cli: help-build is not available in this build yet\n");
    return 2;
}
int dumpHelp(const Arguments&) {
    std::fprintf(stderr, "plaxet-cli: help-dump is not available in this build yet\n");
    return 2;
}
} // namespace plaxet::cli
