#include "help/help_source.h"

#include "help/help_file.h"
#include "runtime/codepage.h"

#include <gtest/gtest.h>

namespace plaxet {
namespace {

TEST(HelpSource, CompilesHeadersAndBodiesInNameOrder) {
    const HelpCompileResult result = compileHelpSources({
        {"020-b.txt", "Title: Tables\nLevel: 1\nTab width: 12\nWrap: no\n\nA\tB\r\nC\tD\n\n\n"},
        {"010-a.txt", "\xEF\xBB\xBFtitle:   Caf\xC3\xA9 \xE2\x82\xAC 5  \n\n"
                      "First line\n\n\xE2\x80\x9CQuoted\xE2\x80\x9D \xE2\x80\x93 done"},
        {"030-c.txt", "Title:\nWRAP: Yes\n"},
    });
    ASSERT_EQ(result.error, "");
    ASSERT_EQ(result.topics.size(), 3u);

    const HelpTopic& first = result.topics[0];
    EXPECT_EQ(first.title, "Caf\xE9 \x80 5");
    EXPECT_EQ(first.body, "First line\r\n\r\n\x93Quoted\x94 \x96 done");
    EXPECT_EQ(first.level, 0);
    EXPECT_EQ(first.tabWidth, kDefaultTabWidth);
    EXPECT_EQ(first.wrapMode, kWrapWords);

    const HelpTopic& second = result.topics[1];
    EXPECT_EQ(second.title, "Tables");
    EXPECT_EQ(second.body, "A\tB\r\nC\tD"); // trailing empty lines dropped
    EXPECT_EQ(second.level, 1);
    EXPECT_EQ(second.tabWidth, 12);
    EXPECT_EQ(second.wrapMode, kWrapNone);

    EXPECT_EQ(result.topics[2].title, "");
    EXPECT_EQ(result.topics[2].body, "");
}

TEST(HelpSource, RefusesFaultsWithAMessageNamingTheTopic) {
    const auto errorOf = [](const std::string& text) {
        const HelpCompileResult result =
            compileHelpSources({{"ok.txt", "Title: Fine\n\nx"}, {"topic.txt", text}});
        EXPECT_TRUE(result.topics.empty());
        return result.error;
    };
    EXPECT_EQ(errorOf("Title: Arrows\n\nok\nGo \xE2\x86\x92 there"),
              "topic.txt (\"Arrows\"): line 4 holds U+2192, which code page 1252 cannot hold; "
              "use a plainer character");
    EXPECT_EQ(errorOf("Title: Bad\n\n\xC3("), "topic.txt (\"Bad\"): line 3 is not valid UTF-8");
    EXPECT_EQ(errorOf("Title: Bad\n\n\xE2\x82"), "topic.txt (\"Bad\"): line 3 is not valid UTF-8");
    EXPECT_EQ(errorOf("Title: Bad\n\n\xC0\xAF"), "topic.txt (\"Bad\"): line 3 is not valid UTF-8");
    EXPECT_EQ(errorOf("Title: Bad\n\na\x01z"),
              "topic.txt (\"Bad\"): line 3 holds the control character U+0001");
    EXPECT_EQ(errorOf("Title: Lone\n\na\rb"),
              "topic.txt (\"Lone\"): line 3 holds the control character U+000D");
    EXPECT_EQ(errorOf("Level: 1\n\nbody"), "topic.txt: the header has no 'Title:' line");
    EXPECT_EQ(errorOf("Title: T\nColour: red\n\nbody"),
              "topic.txt (\"T\"): line 2: unknown header 'Colour' (known: Title, Level, Tab width, "
              "Wrap)");
    EXPECT_EQ(errorOf("Title: T\nWrap: maybe\n"),
              "topic.txt (\"T\"): line 2: wrap must be yes or no");
    EXPECT_EQ(errorOf("Title: T\nLevel: one\n"),
              "topic.txt (\"T\"): line 2: the level must be a whole number (0 or 1)");
    EXPECT_EQ(errorOf("Title: T\nTab width: 0\n"),
              "topic.txt (\"T\"): line 2: the tab width must be a whole number from 1 to 64");
    EXPECT_EQ(errorOf("Title: T\nTitle: U\n"), "topic.txt (\"T\"): line 2: 'title' is given twice");
    EXPECT_NE(errorOf("Title T\n\nbody").find("line 1: a header line reads 'Key: value'"),
              std::string::npos);
}

TEST(HelpSource, TextsBeyondWhatTheFileCanHoldAreRefused) {
    // 65535 bytes fit: 65532 letters, CR LF and one more letter.
    const HelpCompileResult atLimit =
        compileHelpSources({{"long.txt", "Title: Long\n\n" + std::string(65532, 'a') + "\nb"}});
    ASSERT_EQ(atLimit.error, "");
    EXPECT_EQ(atLimit.topics[0].body.size(), 65535u);

    const HelpCompileResult tooLong =
        compileHelpSources({{"long.txt", "Title: Long\n\n" + std::string(65532, 'a') + "\nbc"}});
    EXPECT_EQ(tooLong.error, "long.txt (\"Long\"): the text is 65536 bytes long; a topic holds at "
                             "most 65535: split it into two topics");
    // Each code page byte counts once, whatever its UTF-8 length.
    std::string accents;
    for (int i = 0; i < 32768; ++i) accents += "\xC3\xA9";
    EXPECT_EQ(compileHelpSources({{"e.txt", "Title: E\n\n" + accents}}).error, "");

    HelpTopics direct(2);
    direct[1].title = "Huge";
    direct[1].body = std::string(65536, 'x');
    EXPECT_EQ(encodeHelpFile(direct).error,
              "topic 2 (\"Huge\"): the text is longer than 65535 bytes");
    EXPECT_TRUE(encodeHelpFile(direct).bytes.empty());
    direct[1].body.pop_back();
    direct[0].title = std::string(65536, 't');
    EXPECT_NE(encodeHelpFile(direct).error.find("topic 1"), std::string::npos);
}

TEST(HelpSource, CompiledTopicsReadBackUnchanged) {
    const HelpCompileResult compiled = compileHelpSources({
        {"1.txt", "Title: Start\n\nWelcome.\nSecond line."},
        {"2.txt", "Title: Child\nLevel: 1\nWrap: no\nTab width: 20\n\nKey\tMeaning\nF3\tNext"},
        {"3.txt", "Title: Empty\nLevel: -1\n"},
        {"4.txt", "Title: \xC2\xBD price\n\n\xC3\xA4\xC3\xB6\xC3\xBC"},
    });
    ASSERT_EQ(compiled.error, "");
    const HelpFileBytes file = encodeHelpFile(compiled.topics);
    ASSERT_EQ(file.error, "");
    // Count, then bodies first: the first body's length and text.
    EXPECT_EQ(file.bytes.substr(0, 9), std::string("\x04\x00\x00\x00\x16\x00Wel", 9));

    const HelpFileResult read = readHelpFile(file.bytes);
    ASSERT_EQ(read.status, HelpFileStatus::Loaded);
    ASSERT_EQ(read.topics.size(), compiled.topics.size());
    for (size_t i = 0; i < read.topics.size(); ++i) {
        SCOPED_TRACE(i);
        // Compiled topics hold the file's code page 1252; read ones, UTF-8.
        EXPECT_EQ(read.topics[i].title, utf8FromCp1252(compiled.topics[i].title));
        EXPECT_EQ(read.topics[i].body, utf8FromCp1252(compiled.topics[i].body));
        EXPECT_EQ(read.topics[i].level, compiled.topics[i].level);
        EXPECT_EQ(read.topics[i].tabWidth, compiled.topics[i].tabWidth);
        EXPECT_EQ(read.topics[i].wrapMode, compiled.topics[i].wrapMode);
    }
    EXPECT_EQ(read.topics[0].body, "Welcome.\r\nSecond line.");
    EXPECT_EQ(compiled.topics[3].title, "\xBD price");
    EXPECT_EQ(read.topics[3].title, "\xC2\xBD price");
    EXPECT_EQ(read.topics[3].body, "\xC3\xA4\xC3\xB6\xC3\xBC");
    EXPECT_EQ(planOutline(read.topics).parents, (std::vector<int32_t>{0, 1, 1, 0}));
}

} // namespace
} // namespace plaxet
