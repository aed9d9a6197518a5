#include "help/help_search.h"

#include "runtime/text.h"

#include <gtest/gtest.h>

namespace plaxet {

void PrintTo(const HelpMatch& match, std::ostream* out) {
    *out << "topic " << match.topic << " at " << match.position;
}

namespace {

HelpTopics sampleTopics() {
    HelpTopics topics(5);
    topics[0].body = "Alpha beta GAMMA"; // 16 bytes
    topics[1].body = "";
    topics[2].body = "beta beta"; // 9 bytes
    topics[3].body = "no match here";
    topics[4].body = "Beta";
    topics[3].title = "beta in a title is not searched";
    return topics;
}

std::optional<HelpMatch> at(int32_t topic, int32_t position) {
    return HelpMatch{topic, position};
}

TEST(HelpSearch, FindStartsAtTheFirstByteOfTheTopicAndIgnoresCase) {
    const HelpTopics topics = sampleTopics();
    EXPECT_EQ(findFirstMatch(topics, LCase("BeTa"), 1), at(1, 7));
    EXPECT_EQ(findFirstMatch(topics, "eta", 1), at(1, 8)); // inside a longer word
    EXPECT_EQ(findFirstMatch(topics, "gamma", 1), at(1, 12));
    EXPECT_EQ(findFirstMatch(topics, "beta", 2), at(3, 1));
    EXPECT_EQ(findFirstMatch(topics, "beta", 5), at(5, 1));
    EXPECT_EQ(findFirstMatch(topics, "alpha", 2), std::nullopt);
    EXPECT_EQ(findFirstMatch(topics, "title", 1), std::nullopt);
    EXPECT_EQ(findFirstMatch(topics, "beta", 6), std::nullopt);
    EXPECT_EQ(findFirstMatch(topics, "", 1), std::nullopt);
    EXPECT_EQ(findFirstMatch(topics, "alpha", 0), at(1, 1));

    HelpTopics accented(1);
    accented[0].body = "Caf\xC3\x89 au lait"; // "CafÉ": É lower-cases to é in UTF-8 too
    EXPECT_EQ(findFirstMatch(accented, LCase("CAF\xC3\x89"), 1), at(1, 1));
    EXPECT_EQ(findFirstMatch(accented, "caf\xC3\xA9 au", 1), at(1, 1));

    const PaneSelection selection = selectionOfMatch(7, 4);
    EXPECT_EQ(selection.start, 6);
    EXPECT_EQ(selection.end, 10);
}

TEST(HelpSearch, NextContinuesJustPastTheSelectionAndCrossesTopics) {
    const HelpTopics topics = sampleTopics();
    // After Find selected "beta" at 7 in topic 1 (pane selection 6..10).
    EXPECT_EQ(findNextMatch(topics, "beta", 1, 10), at(3, 1)); // skips the empty topic 2
    EXPECT_EQ(findNextMatch(topics, "beta", 3, 4), at(3, 6));
    EXPECT_EQ(findNextMatch(topics, "beta", 3, 9), at(5, 1));
    EXPECT_EQ(findNextMatch(topics, "beta", 5, 4), std::nullopt);
    // The first position tried is end + 1: a match starting there is found.
    EXPECT_EQ(findNextMatch(topics, "beta", 1, 6), at(1, 7));
    EXPECT_EQ(findNextMatch(topics, "beta", 1, 7), at(3, 1));
    // A selection beyond the body finds nothing in that topic.
    EXPECT_EQ(findNextMatch(topics, "beta", 3, 40), at(5, 1));
    EXPECT_EQ(findNextMatch(topics, "beta", 0, 0), std::nullopt);

    // An empty search text (before any Find) gives an empty match where the
    // search starts, so the selection collapses there; an empty topic has none.
    EXPECT_EQ(findNextMatch(topics, "", 1, 3), at(1, 4));
    EXPECT_EQ(findNextMatch(topics, "", 1, 16), at(1, 17)); // collapses at the end
    EXPECT_EQ(findNextMatch(topics, "", 2, 0), at(3, 1));
}

TEST(HelpSearch, PrevStopsTwoBytesPastTheSelectionStartAndCrossesTopicsBackwards) {
    const HelpTopics topics = sampleTopics();
    // "beta beta" with the second occurrence (6..9) selected: c = 5, limit 7.
    EXPECT_EQ(findPrevMatch(topics, "beta", 3, 5), at(3, 1));
    // The first occurrence selected: c = 0, limit 2; topic 2 is empty, topic 1
    // is searched whole.
    EXPECT_EQ(findPrevMatch(topics, "beta", 3, 0), at(1, 7));
    EXPECT_EQ(findPrevMatch(topics, "gamma", 3, 0), at(1, 12)); // ends at the last byte
    EXPECT_EQ(findPrevMatch(topics, "beta", 1, 6), std::nullopt);

    // A match ending exactly at c + 2 is found; so a text of one or two bytes
    // finds the occurrence that is already selected once more, three do not.
    EXPECT_EQ(findPrevMatch(topics, "be", 3, 5), at(3, 6));
    EXPECT_EQ(findPrevMatch(topics, "bet", 3, 5), at(3, 1));
    EXPECT_EQ(findPrevMatch(topics, "a", 3, 2), at(3, 4)); // "beta" ends at 4 = c + 2
    EXPECT_EQ(findPrevMatch(topics, "a", 3, 1), at(1, 16));

    // "Beta" (L = 4): c + 1 < L searches up to c + 2; c + 1 = L skips the
    // topic; c = L searches the whole body.
    EXPECT_EQ(findPrevMatch(topics, "beta", 5, 2), at(5, 1));
    EXPECT_EQ(findPrevMatch(topics, "beta", 5, 1), at(3, 6));
    EXPECT_EQ(findPrevMatch(topics, "beta", 5, 3), at(3, 6));
    EXPECT_EQ(findPrevMatch(topics, "beta", 5, 4), at(5, 1));
    EXPECT_EQ(findPrevMatch(topics, "beta", 5, 9), at(5, 1));

    EXPECT_EQ(findPrevMatch(topics, "", 3, 5), std::nullopt);
    EXPECT_EQ(findPrevMatch(topics, "beta", 0, 0), std::nullopt);
    EXPECT_EQ(findPrevMatch(topics, "beta", 6, 0), std::nullopt);
}

} // namespace
} // namespace plaxet
