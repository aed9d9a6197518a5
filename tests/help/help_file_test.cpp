#include "help/help_file.h"

#include "runtime/file.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace plaxet {
namespace {

void appendInt32(std::string& out, int32_t value) {
    const uint32_t bits = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((bits >> shift) & 0xFF);
}

void appendText(std::string& out, const std::string& text) {
    out += static_cast<char>(text.size() & 0xFF);
    out += static_cast<char>((text.size() >> 8) & 0xFF);
    out += text;
}

struct RawTopic {
    std::string title;
    std::string body;
    int32_t level;
    int32_t tabWidth;
    int32_t wrapMode;
};

// A topic file assembled byte by byte, block after block, as the reader expects it.
std::string topicFile(const std::vector<RawTopic>& topics) {
    std::string out;
    appendInt32(out, static_cast<int32_t>(topics.size()));
    for (const RawTopic& t : topics) appendText(out, t.body);
    for (const RawTopic& t : topics) appendText(out, t.title);
    for (const RawTopic& t : topics) appendInt32(out, t.level);
    for (const RawTopic& t : topics) {
        appendInt32(out, t.tabWidth);
        appendInt32(out, t.wrapMode);
    }
    return out;
}

const std::vector<RawTopic> kSample = {
    {"Orphan", "", 3, 4, 1},             // a sub-topic before any top-level topic
    {"", "Untitled body", -2, 8, -1},    // empty title, negative level
    {"First", "One\r\n\tTwo", 0, 12, 1}, // top level
    {"Child A", "", 1, 8, -1},           // empty body
    {"Child B", "b", -1, 8, 1},
    {"Second", "x", 0, 8, 1},
    {"Child C", "c", 7, 8, 1},
};

TEST(HelpFile, ReadsEveryFieldOfEveryTopic) {
    const HelpFileResult result = readHelpFile(topicFile(kSample));
    ASSERT_EQ(result.status, HelpFileStatus::Loaded);
    ASSERT_EQ(result.topics.size(), kSample.size());
    for (size_t i = 0; i < kSample.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(result.topics[i].title, kSample[i].title);
        EXPECT_EQ(result.topics[i].body, kSample[i].body);
        EXPECT_EQ(result.topics[i].level, kSample[i].level);
        EXPECT_EQ(result.topics[i].tabWidth, kSample[i].tabWidth);
        EXPECT_EQ(result.topics[i].wrapMode, kSample[i].wrapMode);
    }
    EXPECT_TRUE(result.message.empty());

    // Bytes after the last block are not part of the file.
    const HelpFileResult padded = readHelpFile(topicFile(kSample) + "trailing junk");
    ASSERT_EQ(padded.status, HelpFileStatus::Loaded);
    EXPECT_EQ(padded.topics.back().wrapMode, 1);
    EXPECT_EQ(padded.topics.size(), kSample.size());
}

TEST(HelpFile, OutlineHasTwoLevelsAndStartsAtTheFirstTopicWithText) {
    const HelpOutline outline = planOutline(readHelpFile(topicFile(kSample)).topics);
    // Topics before the first top-level one stand at the top; every other
    // non-zero level hangs under the nearest top-level topic before it.
    EXPECT_EQ(outline.parents, (std::vector<int32_t>{0, 0, 0, 3, 3, 0, 6}));
    EXPECT_EQ(outline.startTopic, 2);

    std::vector<RawTopic> allEmpty = {{"a", "", 1, 8, 1}, {"b", "", 0, 8, 1}, {"c", "", 0, 8, 1}};
    const HelpOutline emptyOutline = planOutline(readHelpFile(topicFile(allEmpty)).topics);
    EXPECT_EQ(emptyOutline.startTopic, 1);
    EXPECT_EQ(emptyOutline.parents, (std::vector<int32_t>{0, 0, 0}));

    allEmpty[2].body = "text";
    EXPECT_EQ(planOutline(readHelpFile(topicFile(allEmpty)).topics).startTopic, 3);
    EXPECT_EQ(planOutline({}).startTopic, 0);
}

TEST(HelpFile, NoTopicsIsReportedForTheWindowToShow) {
    for (const std::string& bytes : {std::string(4, '\0'), std::string(), std::string(3, '\0'),
                                     std::string("\xFF\xFF\xFF\xFF", 4),
                                     std::string("\x00\x00\x00\x80"
                                                 "abcdefgh",
                                                 12)}) {
        const HelpFileResult result = readHelpFile(bytes);
        EXPECT_EQ(result.status, HelpFileStatus::NoContent) << bytes.size();
        EXPECT_EQ(result.message, "No help content");
        EXPECT_EQ(result.boxTitle, "Help File");
        EXPECT_TRUE(result.topics.empty());
    }
}

TEST(HelpFile, AFileEndingEarlyReadsTheMissingBytesAsZeros) {
    const std::vector<RawTopic> topics = {{"T1", "body one", 0, 5, -1}, {"T2", "b2", 1, 6, 1}};
    const std::string full = topicFile(topics);
    // Offsets: count 0-3; bodies 4-13 and 14-17; titles 18-21 and 22-25;
    // levels 26-29 and 30-33; tab and wrap 34-41 and 42-49.
    ASSERT_EQ(full.size(), 50u);

    // Every cut loads both topics, and whatever lies wholly before the cut is intact.
    for (size_t cut = 4; cut < full.size(); ++cut) {
        SCOPED_TRACE(cut);
        const HelpFileResult result = readHelpFile(full.substr(0, cut));
        ASSERT_EQ(result.status, HelpFileStatus::Loaded);
        ASSERT_EQ(result.topics.size(), 2u);
        if (cut >= 14) {
            EXPECT_EQ(result.topics[0].body, "body one");
        }
        if (cut >= 26) {
            EXPECT_EQ(result.topics[1].title, "T2");
        }
        if (cut >= 34) {
            EXPECT_EQ(result.topics[1].level, 1);
        }
        EXPECT_EQ(result.topics[1].wrapMode, cut >= 47 ? 1 : 0); // 01 00 00 00, cut short
    }

    // Cut inside the first body: the announced length is kept, the rest is NUL.
    HelpFileResult cut = readHelpFile(full.substr(0, 9));
    EXPECT_EQ(cut.topics[0].body, std::string("bod") + std::string(5, '\0'));
    EXPECT_EQ(cut.topics[1].body, "");
    EXPECT_EQ(cut.topics[0].title, "");
    EXPECT_EQ(cut.topics[0].level, 0);
    EXPECT_EQ(cut.topics[0].tabWidth, 0);

    // Cut inside a count: the low byte is there, the high byte reads as 0.
    cut = readHelpFile(full.substr(0, 15));
    EXPECT_EQ(cut.topics[1].body, std::string(2, '\0'));

    // Cut inside the titles.
    cut = readHelpFile(full.substr(0, 21));
    EXPECT_EQ(cut.topics[0].title, std::string("T") + '\0');
    EXPECT_EQ(cut.topics[1].title, "");
    EXPECT_EQ(cut.topics[0].level, 0);

    // Cut inside the levels: a partial value keeps its low bytes.
    std::string levels = full.substr(0, 26);
    appendInt32(levels, 0x01020304);
    appendInt32(levels, 0x7FFFFFFF);
    cut = readHelpFile(levels.substr(0, 32));
    EXPECT_EQ(cut.topics[0].level, 0x01020304);
    EXPECT_EQ(cut.topics[1].level, 0xFFFF);

    // Cut inside the tab and wrap pairs.
    cut = readHelpFile(full.substr(0, 42));
    EXPECT_EQ(cut.topics[0].tabWidth, 5);
    EXPECT_EQ(cut.topics[0].wrapMode, -1);
    EXPECT_EQ(cut.topics[1].tabWidth, 0);
    EXPECT_EQ(cut.topics[1].wrapMode, 0);

    // Only the count: every topic is there, empty.
    std::string onlyCount;
    appendInt32(onlyCount, 3);
    cut = readHelpFile(onlyCount + "\x05");
    ASSERT_EQ(cut.topics.size(), 3u);
    EXPECT_EQ(cut.topics[0].body, std::string(5, '\0'));
    EXPECT_EQ(cut.topics[2].title, "");
}

TEST(HelpFile, ACountAboveTheFileSizeIsRefusedWithoutAllocating) {
    std::string huge;
    appendInt32(huge, 0x7FFFFFFF);
    huge += "some bytes of a damaged file";
    HelpFileResult result = readHelpFile(huge);
    EXPECT_EQ(result.status, HelpFileStatus::Damaged);
    EXPECT_EQ(result.message, "Help file is damaged");
    EXPECT_EQ(result.boxTitle, "Help File");
    EXPECT_TRUE(result.topics.empty());

    // The bound is the file's size in bytes, count included.
    std::string bytes;
    appendInt32(bytes, 8);
    bytes += std::string(4, '\0');
    EXPECT_EQ(readHelpFile(bytes).status, HelpFileStatus::Loaded);
    EXPECT_EQ(readHelpFile(bytes).topics.size(), 8u);
    bytes[0] = 9;
    EXPECT_EQ(readHelpFile(bytes).status, HelpFileStatus::Damaged);
}

TEST(HelpFile, LoadsFromDiskAndReportsAMissingFile) {
    testing::TempFolder folder;
    const std::string path = folder.file("plaxet.ahp");

    HelpFileResult result = loadHelpFile(path);
    EXPECT_EQ(result.status, HelpFileStatus::Missing);
    EXPECT_EQ(result.message, "No help available");
    EXPECT_EQ(result.boxTitle, "Help File");

    // A folder of that name is no help file either.
    ASSERT_TRUE(createFolder(path));
    EXPECT_EQ(loadHelpFile(path).status, HelpFileStatus::Missing);

    const std::string other = folder.file("other.ahp");
    ASSERT_TRUE(replaceFileContents(other, topicFile(kSample)).ok);
    result = loadHelpFile(other);
    ASSERT_EQ(result.status, HelpFileStatus::Loaded);
    EXPECT_EQ(result.topics[2].body, "One\r\n\tTwo");

    ASSERT_TRUE(replaceFileContents(other, std::string(4, '\0')).ok);
    EXPECT_EQ(loadHelpFile(other).message, "No help content");
}

} // namespace
} // namespace plaxet
