// Placeholder: the form commands arrive with the headless main product.
#include "cli/commands.h"

#include <cstdio>

namespace plaxet::cli {
namespace {
int notYet(const char* what) {
    std::fprintf(stderr, "plaxet-cli: %s is not available in this build yet\n", what);
    return 2;
}
} // namespace
int createFiles(const Arguments&) { return notYet("create-files"); }
int dumpForm(const Arguments&) { return notYet("dump"); }
int makeForm(const Arguments&) { return notYet("make"); }
} // namespace plaxet::cli
