#include "form/sender_file.h"

#include "runtime/file.h"
#include "runtime/paths.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

namespace plaxet {
namespace {

using testing::TempFolder;

std::string contentOf(const std::string& path) {
    return readWholeFile(path).value_or("<none>");
}

} // namespace

TEST(SenderFile, TwoLinesInSixLinesOut) {
    TempFolder dir;
    const std::string path = dir.file("quillet.ini");
    ASSERT_TRUE(replaceFileContents(path, "Hill Paint Co.\r\n   \r\n").ok);

    FormDocument form;
    form.senderLines = {"x", "x", "x", "x", "x", "x"};
    ASSERT_TRUE(loadSenderLines(form, path));
    EXPECT_EQ(form.senderLines[0], "Hill Paint Co.");
    EXPECT_EQ(form.senderLines[1], "   "); // a line of spaces is kept
    for (size_t k = 2; k < 6; ++k) EXPECT_EQ(form.senderLines[k], "") << k;

    ASSERT_TRUE(saveSenderLines(form, path).ok);
    EXPECT_EQ(contentOf(path), "Hill Paint Co.\r\n   \r\n\r\n\r\n\r\n\r\n");

    FormDocument again;
    ASSERT_TRUE(loadSenderLines(again, path));
    EXPECT_EQ(again.senderLines, form.senderLines);
}

TEST(SenderFile, KeepsTheCodePageUnlessALineDoesNotFitIt) {
    TempFolder dir;
    const std::string path = dir.file("quillet.ini");
    FormDocument form;
    form.senderLines[0] = "Caf\xC3\xA9 M\xC3\xBCller"; // "Café Müller": in code page 1252
    ASSERT_TRUE(saveSenderLines(form, path).ok);
    EXPECT_EQ(contentOf(path), "Caf\xE9 M\xFCller\r\n\r\n\r\n\r\n\r\n\r\n");
    FormDocument again;
    ASSERT_TRUE(loadSenderLines(again, path));
    EXPECT_EQ(again.senderLines, form.senderLines);

    // "Łukasz", "Nguyễn", "王芳" do not fit: the whole file becomes UTF-8.
    form.senderLines[1] = "\xC5\x81ukasz Nguy\xE1\xBB\x85n";
    form.senderLines[5] = "\xE7\x8E\x8B\xE8\x8A\xB3";
    ASSERT_TRUE(saveSenderLines(form, path).ok);
    EXPECT_EQ(contentOf(path), "\xEF\xBB\xBF" + form.senderLines[0] + "\r\n" + form.senderLines[1] +
                                   "\r\n\r\n\r\n\r\n" + form.senderLines[5] + "\r\n");
    ASSERT_TRUE(loadSenderLines(again, path));
    EXPECT_EQ(again.senderLines, form.senderLines);

    // A first line that begins like the mark in the code page is kept too.
    form.senderLines = {"\xC3\xAF\xC2\xBB\xC2\xBFHill", "", "", "", "", ""}; // "ï»¿Hill"
    ASSERT_TRUE(saveSenderLines(form, path).ok);
    ASSERT_TRUE(loadSenderLines(again, path));
    EXPECT_EQ(again.senderLines, form.senderLines);

    // A mark before bytes that are no UTF-8: the code page.
    ASSERT_TRUE(replaceFileContents(path, "\xEF\xBB\xBF"
                                          "Caf\xE9\r\n")
                    .ok);
    ASSERT_TRUE(loadSenderLines(again, path));
    EXPECT_EQ(again.senderLines[0], "Caf\xC3\xA9");
}

TEST(SenderFile, ReadsLinesByTheTextFileRules) {
    TempFolder dir;
    const std::string path = dir.file("quillet.ini");
    // The last line needs no line end; an end-of-data byte stops the reading.
    ASSERT_TRUE(replaceFileContents(path, "one\r\ntwo\nstill two\r\nthree\x1A"
                                          "four\r\n")
                    .ok);
    FormDocument form;
    ASSERT_TRUE(loadSenderLines(form, path));
    EXPECT_EQ(form.senderLines[0], "one");
    EXPECT_EQ(form.senderLines[1], "two\nstill two");
    EXPECT_EQ(form.senderLines[2], "three");
    EXPECT_EQ(form.senderLines[3], "");

    // A bare CR ends a line too, and a line longer than any read block stays whole.
    const std::string longLine(200000, 'x');
    ASSERT_TRUE(replaceFileContents(path, "A\rB\r\n" + longLine + "\r\nend").ok);
    ASSERT_TRUE(loadSenderLines(form, path));
    EXPECT_EQ(form.senderLines[0], "A");
    EXPECT_EQ(form.senderLines[1], "B");
    EXPECT_EQ(form.senderLines[2], longLine);
    EXPECT_EQ(form.senderLines[3], "end");
    EXPECT_EQ(form.senderLines[4], "");
}

TEST(SenderFile, AMissingFileLeavesTheLinesAlone) {
    TempFolder dir;
    FormDocument form;
    form.senderLines[0] = "kept";
    EXPECT_FALSE(loadSenderLines(form, dir.file("quillet.ini")));
    EXPECT_FALSE(loadSenderLines(form, dir.path().string())); // a folder is no sender file
    EXPECT_EQ(form.senderLines[0], "kept");
}

TEST(SenderFile, SavingCreatesTheDataFolderAndReportsFailures) {
    TempFolder dir;
    FormDocument form;
    form.senderLines[0] = "Hill Paint Co.";

    const std::string nested =
        withTrailingSeparator(dir.file("data")) + "more" + kHostPaths.separator + "quillet.ini";
    const ReplaceResult created = saveSenderLines(form, nested);
    ASSERT_TRUE(created.ok) << created.error;
    EXPECT_EQ(contentOf(nested), "Hill Paint Co.\r\n\r\n\r\n\r\n\r\n\r\n");

    const std::string locked = dir.file("locked.ini");
    ASSERT_TRUE(replaceFileContents(locked, "old\r\n").ok);
    ASSERT_TRUE(setAttributes(locked, kAttrReadOnly));
    const ReplaceResult refused = saveSenderLines(form, locked);
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.error.find("read-only"), std::string::npos) << refused.error;
    EXPECT_EQ(contentOf(locked), "old\r\n");

    // A data "folder" that is really a file cannot be created.
    const std::string blocker = dir.file("blocker");
    ASSERT_TRUE(replaceFileContents(blocker, "a file").ok);
    const ReplaceResult blocked =
        saveSenderLines(form, withTrailingSeparator(blocker) + "quillet.ini");
    EXPECT_FALSE(blocked.ok);
    EXPECT_FALSE(blocked.error.empty());
    EXPECT_EQ(contentOf(blocker), "a file");
}

} // namespace plaxet
