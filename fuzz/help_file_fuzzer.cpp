// Feeds arbitrary bytes to the help topic file reader, then walks the outline
// and the search over whatever loaded, and checks that a loaded table written
// out again reads back the same. The same bytes also go to the help compiler
// as a topic source.
#include "help/help_file.h"
#include "help/help_search.h"
#include "help/help_source.h"
#include "runtime/codepage.h"
#include "runtime/utf8.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

// A loaded text (UTF-8) back in code page 1252, as the file holds it: every
// character the reader made comes from one byte of that code page.
std::string asFileText(std::string_view utf8) {
    std::string bytes;
    for (size_t at = 0; at < utf8.size();) {
        const std::optional<uint32_t> codePoint = plaxet::decodeUtf8(utf8, at);
        require(codePoint.has_value());
        const std::optional<unsigned char> byte = plaxet::cp1252Byte(*codePoint);
        require(byte.has_value());
        bytes += static_cast<char>(*byte);
    }
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace plaxet;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const HelpCompileResult compiled = compileHelpSources({{"topic.txt", std::string(bytes)}});
    if (compiled.error.empty()) {
        require(compiled.topics.size() == 1);
        for (const char c : compiled.topics[0].body)
            require(c == '\t' || c == '\r' || c == '\n' || static_cast<unsigned char>(c) >= 0x20);
        require(encodeHelpFile(compiled.topics).error.empty());
    } else {
        require(compiled.topics.empty());
    }

    const HelpFileResult result = readHelpFile(bytes);
    if (result.status != HelpFileStatus::Loaded) {
        require(result.topics.empty() && !result.message.empty());
        return 0;
    }
    const HelpTopics& topics = result.topics;
    require(!topics.empty() && topics.size() <= size);

    const HelpOutline outline = planOutline(topics);
    require(outline.parents.size() == topics.size());
    require(outline.startTopic >= 1 && outline.startTopic <= static_cast<int32_t>(topics.size()));
    for (size_t i = 0; i < topics.size(); ++i) {
        const int32_t parent = outline.parents[i];
        require(parent >= 0 && parent <= static_cast<int32_t>(i));
        if (parent > 0) require(topics[static_cast<size_t>(parent) - 1].level == 0);
    }

    // Search for the first bytes of the start topic's body, from the ends of the table.
    const std::string& startBody = topics[static_cast<size_t>(outline.startTopic) - 1].body;
    const std::string needle = startBody.substr(0, 3);
    const int32_t last = static_cast<int32_t>(topics.size());
    for (const auto& match :
         {findFirstMatch(topics, needle, 1), findNextMatch(topics, needle, 1, 0),
          findPrevMatch(topics, needle, last, 1 << 20), findPrevMatch(topics, needle, last, 0)}) {
        if (!match) continue;
        require(match->topic >= 1 && match->topic <= last);
        const std::string& body = topics[static_cast<size_t>(match->topic) - 1].body;
        require(match->position >= 1 &&
                static_cast<size_t>(match->position) + needle.size() <= body.size() + 1);
    }

    HelpTopics asInFile = topics;
    for (HelpTopic& topic : asInFile) {
        topic.title = asFileText(topic.title);
        topic.body = asFileText(topic.body);
    }
    const HelpFileBytes again = encodeHelpFile(asInFile);
    require(again.error.empty());
    const HelpFileResult reread = readHelpFile(again.bytes);
    require(reread.status == HelpFileStatus::Loaded && reread.topics.size() == topics.size());
    for (size_t i = 0; i < topics.size(); ++i) {
        require(reread.topics[i].title == topics[i].title);
        require(reread.topics[i].body == topics[i].body);
        require(reread.topics[i].level == topics[i].level);
        require(reread.topics[i].tabWidth == topics[i].tabWidth);
        require(reread.topics[i].wrapMode == topics[i].wrapMode);
    }
    return 0;
}
