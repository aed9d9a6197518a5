#pragma once
// Searching the help topics' bodies for the Find, Next and Prev commands of
// the help window. Matching is byte for byte after both the search text and
// the body are lower-cased (UTF-8, by the system's rules for each script);
// titles are not searched.
// Topics are visited in topic-number order, crossing from one to the next.
#include "help/help_file.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plaxet {

// A match: topic number and 1-based byte position in its body.
struct HelpMatch {
    int32_t topic = 0;
    int32_t position = 0;
    bool operator==(const HelpMatch&) const = default;
};

// The text pane's selection for a match of `length` bytes, as 0-based offsets.
struct PaneSelection {
    int32_t start = 0;
    int32_t end = 0;
};
PaneSelection selectionOfMatch(int32_t position, int32_t length);

// Find: the first occurrence from the first byte of `fromTopic` onwards.
// `searchText` must already be lower-cased (see LCase); an empty text matches
// nothing here, since Find stops before searching for it.
std::optional<HelpMatch> findFirstMatch(const HelpTopics& topics, std::string_view searchText,
                                        int32_t fromTopic);

// Next: the first occurrence at or after the byte just past the selection
// (0-based `selectionEnd`, so 1-based position selectionEnd + 1) in `topic`,
// then from the first byte of each later topic. An empty search text gives
// an empty match where the search starts when that topic has text.
std::optional<HelpMatch> findNextMatch(const HelpTopics& topics, std::string_view searchText,
                                       int32_t topic, int32_t selectionEnd);

// Prev: the last occurrence that ends at or before a limit, in `topic` and
// then in each earlier topic (limit: the whole body). In `topic` itself, with
// c the 0-based selection start and L the body's length, the limit is c + 2
// while c + 1 < L, so the match may reach two bytes past the selection's
// start; when c + 1 = L the topic is skipped; from c = L on the whole body is
// searched. An empty search text finds nothing.
std::optional<HelpMatch> findPrevMatch(const HelpTopics& topics, std::string_view searchText,
                                       int32_t topic, int32_t selectionStart);

} // namespace plaxet
