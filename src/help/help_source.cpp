#include "help/help_source.h"

#include "runtime/binary.h"
#include "runtime/codepage.h"
#include "runtime/text.h"
#include "runtime/utf8.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iterator>
#include <limits>
#include <optional>
#include <string_view>

namespace plaxet {
namespace {

// One line of UTF-8 as code page 1252, or a description of why it cannot be.
bool toCp1252(std::string_view line, std::string& out, std::string& problem) {
    for (size_t at = 0; at < line.size();) {
        const std::optional<uint32_t> codePoint = decodeUtf8(line, at);
        if (!codePoint) {
            problem = "is not valid UTF-8";
            return false;
        }
        if ((*codePoint < 0x20 && *codePoint != '\t') ||
            (*codePoint >= 0x7F && *codePoint < 0xA0)) {
            problem = "holds the control character " + codePointName(*codePoint);
            return false;
        }
        const std::optional<unsigned char> ansi = cp1252Byte(*codePoint);
        if (!ansi) {
            problem = "holds " + codePointName(*codePoint) +
                      ", which code page 1252 cannot hold; use a plainer character";
            return false;
        }
        out += static_cast<char>(*ansi);
    }
    return true;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find('\n', start);
        std::string_view line = text.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return lines;
}

std::string_view trimBlanks(std::string_view s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::optional<int32_t> wholeNumber(std::string_view text) {
    if (text.empty()) return std::nullopt;
    int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end) return std::nullopt;
    return value;
}

struct TopicBuilder {
    const HelpSource& source;
    std::string titleForMessages; // as written, UTF-8
    std::string error;

    bool fail(const std::string& what) {
        error = source.name;
        if (!titleForMessages.empty()) error += " (\"" + titleForMessages + "\")";
        error += ": " + what;
        return false;
    }
};

bool readHeaderLine(TopicBuilder& builder, std::string_view line, size_t lineNumber,
                    HelpTopic& topic, bool& titleSeen, std::vector<std::string>& keysSeen) {
    const std::string where = "line " + std::to_string(lineNumber) + ": ";
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos)
        return builder.fail(where + "a header line reads 'Key: value' (Title, Level, Tab width, "
                                    "Wrap), and an empty line ends the header");
    const std::string key = LCase(trimBlanks(line.substr(0, colon)));
    const std::string_view value = trimBlanks(line.substr(colon + 1));
    if (std::find(keysSeen.begin(), keysSeen.end(), key) != keysSeen.end())
        return builder.fail(where + "'" + key + "' is given twice");
    keysSeen.push_back(key);

    if (key == "title") {
        titleSeen = true;
        builder.titleForMessages = std::string(value);
        std::string problem;
        if (!toCp1252(value, topic.title, problem))
            return builder.fail(where + "the title " + problem);
        if (topic.title.size() > kMaxHelpText)
            return builder.fail("the title is longer than 65535 bytes");
    } else if (key == "level") {
        const std::optional<int32_t> level = wholeNumber(value);
        if (!level) return builder.fail(where + "the level must be a whole number (0 or 1)");
        topic.level = *level;
    } else if (key == "tab width") {
        const std::optional<int32_t> width = wholeNumber(value);
        if (!width || *width < 1 || *width > 64)
            return builder.fail(where + "the tab width must be a whole number from 1 to 64");
        topic.tabWidth = *width;
    } else if (key == "wrap") {
        const std::string answer = LCase(value);
        if (answer == "yes") {
            topic.wrapMode = kWrapWords;
        } else if (answer == "no") {
            topic.wrapMode = kWrapNone;
        } else {
            return builder.fail(where + "wrap must be yes or no");
        }
    } else {
        return builder.fail(where + "unknown header '" + std::string(line.substr(0, colon)) +
                            "' (known: Title, Level, Tab width, Wrap)");
    }
    return true;
}

std::optional<HelpTopic> compileTopic(const HelpSource& source, std::string& error) {
    TopicBuilder builder{source, {}, {}};
    std::string_view text = source.text;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    const std::vector<std::string_view> lines = splitLines(text);

    HelpTopic topic;
    topic.tabWidth = kDefaultTabWidth;
    topic.wrapMode = kWrapWords;
    bool titleSeen = false;
    std::vector<std::string> keysSeen;
    size_t index = 0;
    for (; index < lines.size() && !trimBlanks(lines[index]).empty(); ++index) {
        if (!readHeaderLine(builder, lines[index], index + 1, topic, titleSeen, keysSeen)) {
            error = builder.error;
            return std::nullopt;
        }
    }
    if (!titleSeen) {
        builder.fail("the header has no 'Title:' line");
        error = builder.error;
        return std::nullopt;
    }

    size_t lastLine = lines.size();
    while (lastLine > index + 1 && trimBlanks(lines[lastLine - 1]).empty()) --lastLine;
    for (size_t i = index + 1; i < lastLine; ++i) {
        if (i > index + 1) topic.body += "\r\n";
        std::string problem;
        if (!toCp1252(lines[i], topic.body, problem)) {
            builder.fail("line " + std::to_string(i + 1) + " " + problem);
            error = builder.error;
            return std::nullopt;
        }
    }
    if (topic.body.size() > kMaxHelpText) {
        builder.fail("the text is " + std::to_string(topic.body.size()) +
                     " bytes long; a topic holds at most 65535: split it into two topics");
        error = builder.error;
        return std::nullopt;
    }
    return topic;
}

} // namespace

HelpCompileResult compileHelpSources(std::vector<HelpSource> sources) {
    std::sort(sources.begin(), sources.end(),
              [](const HelpSource& a, const HelpSource& b) { return Compare(a.name, b.name) < 0; });
    HelpCompileResult result;
    for (const HelpSource& source : sources) {
        std::optional<HelpTopic> topic = compileTopic(source, result.error);
        if (!topic) {
            result.topics.clear();
            return result;
        }
        result.topics.push_back(std::move(*topic));
    }
    return result;
}

HelpFileBytes encodeHelpFile(const HelpTopics& topics) {
    HelpFileBytes result;
    if (topics.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
        result.error = "too many topics";
        return result;
    }
    for (size_t i = 0; i < topics.size(); ++i) {
        const HelpTopic& topic = topics[i];
        const char* what = topic.body.size() > kMaxHelpText    ? "text"
                           : topic.title.size() > kMaxHelpText ? "title"
                                                               : nullptr;
        if (what) {
            result.error = "topic " + std::to_string(i + 1) + " (\"" + topic.title.substr(0, 80) +
                           "\"): the " + what + " is longer than 65535 bytes";
            return result;
        }
    }
    std::string& out = result.bytes;
    putInt32(out, static_cast<int32_t>(topics.size()));
    for (const HelpTopic& topic : topics) {
        putUInt16(out, static_cast<uint16_t>(topic.body.size()));
        out += topic.body;
    }
    for (const HelpTopic& topic : topics) {
        putUInt16(out, static_cast<uint16_t>(topic.title.size()));
        out += topic.title;
    }
    for (const HelpTopic& topic : topics) putInt32(out, topic.level);
    for (const HelpTopic& topic : topics) {
        putInt32(out, topic.tabWidth);
        putInt32(out, topic.wrapMode);
    }
    return result;
}

} // namespace plaxet
