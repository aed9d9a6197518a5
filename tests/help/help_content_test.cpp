// The program's own help: its sources compile, it has the topics a new user
// needs, and the help file the build placed beside the programs matches them.
#include "help/help_file.h"
#include "help/help_source.h"
#include "runtime/file.h"

#include "runtime/codepage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace plaxet {
namespace {

const std::filesystem::path kTopicFolder =
    std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "help" / "topics";

HelpCompileResult compileRepositoryHelp() {
    std::vector<HelpSource> sources;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(kTopicFolder, error)) {
        if (entry.path().extension() != ".txt") continue;
        const std::optional<std::string> text = readWholeFile(entry.path().string());
        EXPECT_TRUE(text.has_value()) << entry.path();
        sources.push_back({entry.path().filename().string(), text.value_or("")});
    }
    EXPECT_FALSE(error) << kTopicFolder << ": " << error.message();
    return compileHelpSources(sources);
}

bool bodyMentions(const HelpTopics& topics, const std::string& text) {
    return std::any_of(topics.begin(), topics.end(), [&](const HelpTopic& topic) {
        return topic.body.find(text) != std::string::npos;
    });
}

TEST(HelpContent, CompilesAndCoversWhatANewUserNeeds) {
    const HelpCompileResult help = compileRepositoryHelp();
    ASSERT_EQ(help.error, "");
    const HelpTopics& topics = help.topics;
    ASSERT_GE(topics.size(), 20u);
    EXPECT_EQ(topics.front().title, "Getting started");
    EXPECT_EQ(topics.front().level, 0);
    EXPECT_EQ(planOutline(topics).startTopic, 1);

    for (const char* title : {"Getting started",
                              "The main window",
                              "Items, subtotals and taxes",
                              "Subtotal rows",
                              "Tax rows and rates",
                              "Invoices, receipts and estimates",
                              "Receipts: amount paid and balance",
                              "Estimates",
                              "Dates",
                              "The letterhead (sender)",
                              "Create Files",
                              "Show File and Copy File",
                              "E-mailing a document",
                              "Opening and saving forms",
                              "The data folder",
                              "Help keys",
                              "Troubleshooting",
                              "Invoice numbers and tax details",
                              "Business Details",
                              "Invoice numbers",
                              "Due date and the buyer's details",
                              "E-invoices"}) {
        EXPECT_TRUE(std::any_of(topics.begin(), topics.end(),
                                [&](const HelpTopic& topic) { return topic.title == title; }))
            << "no topic titled " << title;
    }
    for (const HelpTopic& topic : topics) {
        EXPECT_FALSE(topic.body.empty()) << topic.title;
        EXPECT_TRUE(topic.level == 0 || topic.level == 1) << topic.title;
    }
    EXPECT_TRUE(std::any_of(topics.begin(), topics.end(), [](const HelpTopic& topic) {
        return topic.wrapMode == kWrapNone && topic.body.find('\t') != std::string::npos;
    }));
    EXPECT_TRUE(std::any_of(topics.begin(), topics.end(), [](const HelpTopic& topic) {
        return topic.wrapMode == kWrapWords && topic.body.find('\t') != std::string::npos;
    }));

    // The messages the program can show are explained, in the program's words.
    for (const char* message :
         {"\"invalid date\"",
          "\"Must include sender\"",
          "\"Must at least include addressee\"",
          "\"Must have form date\"",
          "\"Must include some items\"",
          "\"Must specify form type\"",
          "\"Invalid date for item\"",
          "\"The RTF, HTM and PDF files have been created at:\"",
          "\"The RTF, HTM and PDF files and the e-invoice (EN 16931) have been created at:\"",
          "\"No e-invoice was written.\"",
          "\"No program on this computer opens PDF files.\"",
          "\"File not created\"",
          "\"Email attachments -\"",
          "\"paste this RTF file address\"",
          "\"Help file not found\"",
          "\"No help available\"",
          "\"No help content\"",
          "\"Help file is damaged\"",
          "\"Help file cannot be read\"",
          "\"None found\"",
          "\"No more found\"",
          "\"Save this file now?\"",
          "\"Save program data now?\"",
          "\"Quit Program now?\"",
          "\"Save data defining sender?\"",
          "\"Total amount paid in full.\"",
          "\"Please remit the total amount due.\"",
          "\"This is an estimate of the proposed sales and services\"",
          "\"The form was not saved:\"",
          "\"The form file could not be opened:\"",
          "\"The sender lines are kept for this session but were not saved:\"",
          "\"The file's address could not be put on the clipboard\"",
          "\"quillet.ini\"",
          "\"business.json\"",
          "\"numbers.json\"",
          "\"plaxet.ahp\""}) {
        EXPECT_TRUE(bodyMentions(topics, message)) << message;
    }
    // And the help viewer's keys.
    for (const char* key : {"Ctrl+F", "F3", "Shift+F3", "Ctrl+P", "Ctrl+X", "F1", "Esc"})
        EXPECT_TRUE(bodyMentions(topics, std::string(key) + "\t")) << key;
}

TEST(HelpContent, TheBuiltHelpFileMatchesItsSources) {
    // ctest runs the tests in <build>/tests; the programs and the help file are in <build>/bin.
    const std::string built =
        (std::filesystem::current_path().parent_path() / "bin" / "plaxet.ahp").string();
    // The build makes the help file before this test (see tests/CMakeLists.txt):
    // a missing file is a fault of the build, never a reason to pass.
    ASSERT_TRUE(fileExists(built)) << "no help file built at " << built;
    const HelpFileResult loaded = loadHelpFile(built);
    ASSERT_EQ(loaded.status, HelpFileStatus::Loaded) << loaded.message;
    const HelpCompileResult help = compileRepositoryHelp();
    ASSERT_EQ(help.error, "");
    ASSERT_EQ(loaded.topics.size(), help.topics.size());
    for (size_t i = 0; i < help.topics.size(); ++i) {
        EXPECT_EQ(loaded.topics[i].title, utf8FromCp1252(help.topics[i].title));
        EXPECT_EQ(loaded.topics[i].body, utf8FromCp1252(help.topics[i].body));
        EXPECT_EQ(loaded.topics[i].level, help.topics[i].level);
        EXPECT_EQ(loaded.topics[i].tabWidth, help.topics[i].tabWidth);
        EXPECT_EQ(loaded.topics[i].wrapMode, help.topics[i].wrapMode);
    }
}

} // namespace
} // namespace plaxet
