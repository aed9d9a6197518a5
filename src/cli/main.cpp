// plaxet-cli: the headless half of Plaxet, for scripts and batch work.
#include "cli/commands.h"
#include "plaxet_version.h"
#include "runtime/codepage.h"
#include "runtime/program_arguments.h"

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Command {
    std::string_view name;
    std::string_view usage;
    int (*run)(const plaxet::cli::Arguments&);
};

constexpr Command kCommands[] = {
    {"create-files",
     "create-files FORM.plx [--sender FILE] [--business FILE] [--paid AMOUNT] "
     "[--paper letter|a4]\n"
     "      --business: number the form and fill its due date from business.json;\n"
     "      the counters are kept in numbers.json beside it",
     plaxet::cli::createFiles},
    {"dump", "dump FORM.plx", plaxet::cli::dumpForm},
    {"make", "make FORM.json FORM.plx", plaxet::cli::makeForm},
    {"save-sender", "save-sender SENDER.ini [LINE ...]  (up to six letterhead lines)",
     plaxet::cli::saveSender},
    {"help-build", "help-build SOURCE_DIR OUT.ahp", plaxet::cli::buildHelp},
    {"help-dump", "help-dump FILE.ahp", plaxet::cli::dumpHelp},
};

void printUsage(std::FILE* to) {
    std::fprintf(to, "Plaxet %s command-line tool\nusage:\n", PLAXET_VERSION);
    for (const Command& c : kCommands)
        std::fprintf(to, "  plaxet-cli %.*s\n", static_cast<int>(c.usage.size()), c.usage.data());
    std::fprintf(to, "  plaxet-cli --version\n");
    std::fprintf(to, "Before the command, --codepage N names the code page of the texts in the\n"
                     "form file's fields and the sender file (the system's; on Linux 1252).\n");
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments = plaxet::programArguments(argc, argv);
    if (arguments.size() >= 3 && arguments[1] == "--codepage") {
        const std::string& number = arguments[2];
        unsigned long page = 0;
        try {
            page = std::stoul(number);
        } catch (const std::exception&) {
            page = 0;
        }
        if (page == 0 || page > 65535 || !plaxet::useCodePage(static_cast<uint32_t>(page))) {
            std::fprintf(stderr, "plaxet-cli: code page '%s' is not one this system converts\n",
                         number.c_str());
            return 2;
        }
        arguments.erase(arguments.begin() + 1, arguments.begin() + 3);
    }
    if (arguments.size() < 2) {
        printUsage(stderr);
        return 2;
    }
    const std::string_view name = arguments[1];
    if (name == "--version") {
        std::printf("Plaxet %s\n", PLAXET_VERSION);
        return 0;
    }
    if (name == "--help" || name == "-h") {
        printUsage(stdout);
        return 0;
    }
    for (const Command& c : kCommands) {
        if (c.name != name) continue;
        // A command reports its own failures; anything it did not foresee
        // (memory running out, say) still ends in one clear line, and every
        // file it was writing is still the old one.
        try {
            return c.run(plaxet::cli::Arguments(arguments.begin() + 2, arguments.end()));
        } catch (const std::exception& e) {
            std::fprintf(stderr, "plaxet-cli: %s failed: %s\n", arguments[1].c_str(), e.what());
            return 1;
        }
    }
    std::fprintf(stderr, "plaxet-cli: unknown command '%s' (try --help)\n", arguments[1].c_str());
    return 2;
}
