#include "help/help_search.h"

#include "runtime/text.h"

#include <algorithm>

namespace plaxet {
namespace {

int32_t topicCount(const HelpTopics& topics) {
    return static_cast<int32_t>(topics.size());
}

const std::string& bodyOf(const HelpTopics& topics, int32_t topic) {
    return topics[static_cast<size_t>(topic) - 1].body;
}

// First occurrence at or after the 1-based position `start`; 0 when none.
// An empty body holds no match, not even of an empty text.
int32_t firstOccurrence(std::string_view loweredBody, std::string_view text, int64_t start) {
    const int64_t length = static_cast<int64_t>(loweredBody.size());
    start = std::max<int64_t>(start, 1);
    if (start > length + 1) return 0;
    return InStr(static_cast<int32_t>(start), loweredBody, text);
}

// Start of the last occurrence that ends at or before the 1-based position `limit`; 0 when none.
int32_t lastOccurrenceEndingBy(std::string_view loweredBody, std::string_view text, int64_t limit) {
    if (limit <= 0) return 0;
    const std::string_view searched =
        loweredBody.substr(0, std::min<size_t>(static_cast<size_t>(limit), loweredBody.size()));
    const size_t at = searched.rfind(text);
    return at == std::string_view::npos ? 0 : static_cast<int32_t>(at) + 1;
}

} // namespace

PaneSelection selectionOfMatch(int32_t position, int32_t length) {
    return {position - 1, position - 1 + length};
}

std::optional<HelpMatch> findFirstMatch(const HelpTopics& topics, std::string_view searchText,
                                        int32_t fromTopic) {
    if (searchText.empty()) return std::nullopt;
    for (int32_t t = std::max(fromTopic, 1); t <= topicCount(topics); ++t) {
        const int32_t position = firstOccurrence(LCase(bodyOf(topics, t)), searchText, 1);
        if (position > 0) return HelpMatch{t, position};
    }
    return std::nullopt;
}

std::optional<HelpMatch> findNextMatch(const HelpTopics& topics, std::string_view searchText,
                                       int32_t topic, int32_t selectionEnd) {
    if (topic < 1) return std::nullopt;
    int64_t start = static_cast<int64_t>(selectionEnd) + 1;
    for (int32_t t = topic; t <= topicCount(topics); ++t) {
        const int32_t position = firstOccurrence(LCase(bodyOf(topics, t)), searchText, start);
        if (position > 0) return HelpMatch{t, position};
        start = 1;
    }
    return std::nullopt;
}

std::optional<HelpMatch> findPrevMatch(const HelpTopics& topics, std::string_view searchText,
                                       int32_t topic, int32_t selectionStart) {
    if (searchText.empty() || topic < 1 || topic > topicCount(topics)) return std::nullopt;
    for (int32_t t = topic; t >= 1; --t) {
        const std::string lowered = LCase(bodyOf(topics, t));
        const int64_t length = static_cast<int64_t>(lowered.size());
        int64_t limit = length;
        if (t == topic) {
            const int64_t c = selectionStart;
            if (c + 1 == length) continue;
            if (c + 1 < length) limit = c + 2;
        }
        const int32_t position = lastOccurrenceEndingBy(lowered, searchText, limit);
        if (position > 0) return HelpMatch{t, position};
    }
    return std::nullopt;
}

} // namespace plaxet
