#pragma once
// The commands of plaxet-cli. Each takes the arguments after its own name,
// prints one clear line to standard error on failure, and returns the exit status.
#include <string>
#include <vector>

namespace plaxet::cli {

using Arguments = std::vector<std::string>;

int createFiles(const Arguments& args);
int dumpForm(const Arguments& args);
int makeForm(const Arguments& args);
int saveSender(const Arguments& args);
int buildHelp(const Arguments& args);
int dumpHelp(const Arguments& args);

} // namespace plaxet::cli
