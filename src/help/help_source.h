#pragma once
// Building a help topic file from plain text sources, one source per topic.
//
// A source is UTF-8 text: a few header lines, an empty line, then the body.
//
//     Title: Dates
//     Level: 1          (optional: 0 top-level, 1 sub-topic; default 0)
//     Tab width: 12     (optional: in average character widths; default 8)
//     Wrap: no          (optional: yes wraps words, no scrolls sideways; default yes)
//
//     The body, as it is to be shown...
//
// Topics are ordered by source name. Bodies and titles are stored in code
// page 1252 with CR LF line ends; empty lines at the end of a body are dropped.
#include "help/help_file.h"

#include <string>
#include <vector>

namespace plaxet {

inline constexpr int32_t kDefaultTabWidth = 8;

struct HelpSource {
    std::string name; // the file name, used to order topics and in messages
    std::string text; // UTF-8
};

// `error` is empty on success; otherwise it names the topic and the fault.
struct HelpCompileResult {
    HelpTopics topics; // texts in code page 1252, as the file holds them
    std::string error;
};

HelpCompileResult compileHelpSources(std::vector<HelpSource> sources);

struct HelpFileBytes {
    std::string bytes;
    std::string error; // a title or body longer than the format can hold
};

// The bytes of a topic file holding `topics`, in the layout loadHelpFile reads.
HelpFileBytes encodeHelpFile(const HelpTopics& topics);

} // namespace plaxet
