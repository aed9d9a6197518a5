#include "help/help_file.h"

#include "runtime/binary.h"
#include "runtime/codepage.h"
#include "runtime/file.h"

#include <optional>

namespace plaxet {
namespace {

constexpr const char* kBoxTitle = "Help File";

HelpFileResult failure(HelpFileStatus status, const char* message) {
    HelpFileResult result;
    result.status = status;
    result.message = message;
    result.boxTitle = kBoxTitle;
    return result;
}

std::string readCountedText(ByteReader& in) {
    const uint16_t length = readUInt16(in);
    return readPadded(in, length);
}

} // namespace

HelpFileResult readHelpFile(std::string_view bytes) {
    ByteReader in{bytes};
    const int32_t count = readInt32(in);
    if (count <= 0) return failure(HelpFileStatus::NoContent, "No help content");
    // A file that ends early still loads, its missing topics empty; but a count
    // above the file's size in bytes cannot come from any help file, and
    // believing it would let a few damaged bytes demand gigabytes of topics.
    if (static_cast<uint64_t>(count) > bytes.size())
        return failure(HelpFileStatus::Damaged, "Help file is damaged");

    HelpFileResult result;
    result.status = HelpFileStatus::Loaded;
    result.topics.resize(static_cast<size_t>(count));
    // Past the end every count reads as 0, so at most one text is padded with NULs.
    // The file holds code page 1252 on every machine; the program, UTF-8.
    for (HelpTopic& topic : result.topics) topic.body = utf8FromCp1252(readCountedText(in));
    for (HelpTopic& topic : result.topics) topic.title = utf8FromCp1252(readCountedText(in));
    for (HelpTopic& topic : result.topics) topic.level = readInt32(in);
    for (HelpTopic& topic : result.topics) {
        topic.tabWidth = readInt32(in);
        topic.wrapMode = readInt32(in);
    }
    return result;
}

HelpFileResult loadHelpFile(const std::string& helpFilePath) {
    if (!fileExists(helpFilePath)) return failure(HelpFileStatus::Missing, "No help available");
    const std::optional<std::string> bytes = readWholeFile(helpFilePath);
    if (!bytes) return failure(HelpFileStatus::Unreadable, "Help file cannot be read");
    return readHelpFile(*bytes);
}

HelpOutline planOutline(const HelpTopics& topics) {
    HelpOutline outline;
    outline.parents.reserve(topics.size());
    int32_t currentTopLevel = 0;
    for (size_t i = 0; i < topics.size(); ++i) {
        const int32_t topic = static_cast<int32_t>(i) + 1;
        if (topics[i].level == 0) {
            outline.parents.push_back(0);
            currentTopLevel = topic;
        } else {
            outline.parents.push_back(currentTopLevel);
        }
    }
    if (topics.empty()) return outline;
    outline.startTopic = 1;
    for (size_t i = 0; i < topics.size(); ++i) {
        if (!topics[i].body.empty()) {
            outline.startTopic = static_cast<int32_t>(i) + 1;
            break;
        }
    }
    return outline;
}

} // namespace plaxet
