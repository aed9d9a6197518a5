#pragma once
// The help topic file: reading it into the topic table, and the two-level
// outline that the help window shows for that table.
//
// Layout (little-endian, no header): the topic count N as a signed 32-bit
// number; N bodies and then N titles, each an unsigned 16-bit byte count and
// that many bytes; N levels (signed 32-bit); N pairs of tab width and wrap
// mode (signed 32-bit each). A file that ends early reads as zeros. The
// texts are in code page 1252 on every machine; the reader gives them in
// UTF-8, as all text inside the program is.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plaxet {

inline constexpr int32_t kWrapWords = 1;       // body shown word-wrapped
inline constexpr int32_t kWrapNone = -1;       // body shown unwrapped, scrolling sideways
inline constexpr size_t kMaxHelpText = 0xFFFF; // longest title or body a topic can hold

struct HelpTopic {
    std::string title;
    std::string body;     // lines end in CR LF; may hold tabs
    int32_t level = 0;    // 0 top-level, anything else a sub-topic
    int32_t tabWidth = 0; // tab stop interval in average character widths
    int32_t wrapMode = kWrapWords;
};

// Topic number t (1-based, the topic's identity in the viewer) is element t - 1.
using HelpTopics = std::vector<HelpTopic>;

enum class HelpFileStatus {
    Loaded,
    Missing,    // no such file
    Unreadable, // exists but could not be read
    NoContent,  // topic count 0 or negative
    Damaged,    // claims more topics than the file has bytes
};

// What the help window gets back: the table when the file loaded, otherwise
// the message and box title to show before it closes.
struct HelpFileResult {
    HelpFileStatus status = HelpFileStatus::Missing;
    HelpTopics topics;
    std::string message;
    std::string boxTitle;
};

HelpFileResult loadHelpFile(const std::string& helpFilePath);
// The same, from the bytes of a file already in memory.
HelpFileResult readHelpFile(std::string_view bytes);

// The outline the table becomes: two levels whatever the level values say.
struct HelpOutline {
    // parents[t - 1] is the top-level topic that topic t stands under, or 0
    // when it stands at the top level itself.
    std::vector<int32_t> parents;
    // The topic selected at start: the first with a non-empty body, else 1
    // (0 only for an empty table).
    int32_t startTopic = 0;
};

HelpOutline planOutline(const HelpTopics& topics);

} // namespace plaxet
