// help-build and help-dump: the help topic file from its sources, and back to a readable outline.
#include "cli/commands.h"

#include "help/help_file.h"
#include "help/help_source.h"
#include "runtime/file.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace plaxet::cli {
namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "plaxet-cli: %s\n", message.c_str());
    return 1;
}

// The *.txt files of a folder, each read whole; nullopt with `error` set when
// the folder or one of its files cannot be read.
std::optional<std::vector<HelpSource>> readSources(const std::string& folder, std::string& error) {
    std::error_code code;
    std::filesystem::directory_iterator entries(folder, code);
    if (code) {
        error = "cannot read the folder " + folder + ": " + code.message();
        return std::nullopt;
    }
    std::vector<HelpSource> sources;
    for (const std::filesystem::directory_entry& entry : entries) {
        const std::filesystem::path& path = entry.path();
        if (path.extension() != ".txt" || !entry.is_regular_file(code)) continue;
        const std::optional<std::string> text = readWholeFile(path.string());
        if (!text) {
            error = "cannot read " + path.string();
            return std::nullopt;
        }
        sources.push_back({path.filename().string(), *text});
    }
    return sources;
}

// Titles as one line each: control characters become "?".
std::string printable(const std::string& text) {
    std::string out;
    for (const char byte : text) {
        const auto c = static_cast<unsigned char>(byte);
        out += c < 0x20 || c == 0x7F ? '?' : byte;
    }
    return out;
}

} // namespace

int buildHelp(const Arguments& args) {
    if (args.size() != 2) return fail("usage: plaxet-cli help-build SOURCE_DIR OUT.ahp");
    const std::string& folder = args[0];
    const std::string& outPath = args[1];

    std::string error;
    const std::optional<std::vector<HelpSource>> sources = readSources(folder, error);
    if (!sources) return fail(error);
    if (sources->empty()) return fail("no topic files (*.txt) in " + folder);

    const HelpCompileResult compiled = compileHelpSources(*sources);
    if (!compiled.error.empty()) return fail(compiled.error);
    const HelpFileBytes file = encodeHelpFile(compiled.topics);
    if (!file.error.empty()) return fail(file.error);

    const ReplaceResult written = replaceFileContents(outPath, file.bytes);
    if (!written.ok) return fail("cannot write " + outPath + ": " + written.error);
    std::printf("plaxet-cli: %d help topics written to %s\n",
                static_cast<int>(compiled.topics.size()), outPath.c_str());
    return 0;
}

int dumpHelp(const Arguments& args) {
    if (args.size() != 1) return fail("usage: plaxet-cli help-dump FILE.ahp");
    const HelpFileResult loaded = loadHelpFile(args[0]);
    if (loaded.status != HelpFileStatus::Loaded)
        return fail(args[0] + ": " + loaded.message + " (" + loaded.boxTitle + ")");

    const HelpOutline outline = planOutline(loaded.topics);
    std::printf("topic  level  tabs  wrap   body  title\n");
    for (size_t i = 0; i < loaded.topics.size(); ++i) {
        const HelpTopic& topic = loaded.topics[i];
        std::printf("%5d  %5d  %4d  %4d  %5d  %s%s\n", static_cast<int>(i + 1),
                    static_cast<int>(topic.level), static_cast<int>(topic.tabWidth),
                    static_cast<int>(topic.wrapMode), static_cast<int>(topic.body.size()),
                    outline.parents[i] != 0 ? "    " : "", printable(topic.title).c_str());
    }
    std::printf("%d topics; start topic %d\n", static_cast<int>(loaded.topics.size()),
                static_cast<int>(outline.startTopic));
    return 0;
}

} // namespace plaxet::cli
