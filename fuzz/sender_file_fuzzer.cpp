// Feeds arbitrary bytes to the sender-file reader through a real file. The
// lines it reads must come back unchanged from a save and a second read.
#include "form/sender_file.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

// Two scratch files of this process, removed when it ends.
struct ScratchFiles {
    std::string input = path("in.ini");
    std::string output = path("out.ini");
    ~ScratchFiles() {
        std::remove(input.c_str());
        std::remove(output.c_str());
    }
    // A memory-backed folder when there is one: every save ends in a flush to
    // the disk, which on a real disk would make each run a hundred times slower.
    static std::string path(const char* name) {
        const char* folder = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        return std::string(folder) + "/plaxet-sender-fuzz-" + std::to_string(::getpid()) + "-" +
               name;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const ScratchFiles scratch;
    const std::string& input = scratch.input;
    const std::string& output = scratch.output;
    if (!plaxet::replaceFileContents(input, {reinterpret_cast<const char*>(data), size}).ok)
        return 0;

    plaxet::FormDocument form;
    require(plaxet::loadSenderLines(form, input));
    for (const std::string& line : form.senderLines)
        require(line.find_first_of("\r\x1A") == std::string::npos);

    require(plaxet::saveSenderLines(form, output).ok);
    plaxet::FormDocument again;
    require(plaxet::loadSenderLines(again, output));
    require(again.senderLines == form.senderLines);
    return 0;
}
