#include "runtime/file.h"

#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace plaxet {
namespace {

using testing::TempFolder;

void writeRaw(const std::string& path, std::string_view bytes) {
    ASSERT_TRUE(replaceFileContents(path, bytes).ok);
}

std::string contentOf(const std::string& path) {
    return readWholeFile(path).value_or("<none>");
}

} // namespace

TEST(File, LinesEndAtCarriageReturnsAndAtEndOfData) {
    TempFolder dir;
    const std::string path = dir.file("lines.txt");

    writeRaw(path, "A\r\nB");
    OpenFile in = openInput(path);
    ASSERT_TRUE(isOpen(in));
    EXPECT_EQ(readLine(in), "A");
    EXPECT_EQ(readLine(in), "B");
    EXPECT_EQ(in.lastError, kErrNone);
    EXPECT_EQ(readLine(in), "");
    EXPECT_EQ(in.lastError, kErrPastEnd);
    closeFile(in);

    writeRaw(path, "A\nB\r\nC\rD");
    in = openInput(path);
    EXPECT_EQ(readLine(in), "A\nB"); // a bare LF stays in the line
    EXPECT_EQ(readLine(in), "C");    // a bare CR ends it
    EXPECT_EQ(readLine(in), "D");
    closeFile(in);

    writeRaw(path, "one\r\ntw\x1Ao\r\nthree\r\n");
    in = openInput(path);
    EXPECT_EQ(readLine(in), "one");
    EXPECT_EQ(readLine(in), "tw"); // 0x1A ends the data
    EXPECT_EQ(readLine(in), "");
    EXPECT_EQ(in.lastError, kErrPastEnd);
}

TEST(File, LongLinesAcrossReadBlocksAreKeptWhole) {
    TempFolder dir;
    const std::string path = dir.file("long.txt");
    const std::string longLine(200000, 'x');
    writeRaw(path, longLine + "\r\nend");
    OpenFile in = openInput(path);
    EXPECT_EQ(readLine(in), longLine);
    EXPECT_EQ(readLine(in), "end");
}

TEST(File, OutputWritesLinesAndEmptiesAnExistingFile) {
    TempFolder dir;
    const std::string path = dir.file("out.txt");
    writeRaw(path, "old content");
    {
        OpenFile out = openOutput(path, Sharing::None);
        ASSERT_TRUE(isOpen(out));
    }
    EXPECT_EQ(contentOf(path), "");

    OpenFile out = openOutput(path, Sharing::Read);
    writeLine(out, "first");
    writeLine(out, "");
    writeLine(out, "a\r\nb");
    EXPECT_EQ(readLine(out), ""); // wrong mode: no effect
    EXPECT_EQ(out.lastError, kErrWrongMode);
    closeFile(out);
    EXPECT_EQ(contentOf(path), "first\r\n\r\na\r\nb\r\n");

    writeLine(out, "after close");
    EXPECT_EQ(out.lastError, kErrNotOpen);
}

TEST(File, MissingFilesOpenForInputOnly) {
    TempFolder dir;
    OpenFile in = openInput(dir.file("missing.txt"));
    EXPECT_FALSE(isOpen(in));
    EXPECT_EQ(readLine(in), "");
    EXPECT_FALSE(fileExists(dir.file("missing.txt")));

    OpenFile binary = openBinary(dir.file("created.bin"));
    EXPECT_TRUE(isOpen(binary));
    closeFile(binary);
    EXPECT_TRUE(fileExists(dir.file("created.bin")));
}

TEST(File, BinaryValuesAreLittleEndianAndShortReadsGiveZeros) {
    TempFolder dir;
    const std::string path = dir.file("values.bin");
    OpenFile file = openBinary(path);
    putInt16(file, -2);
    putInt32(file, 0x01020304);
    putBytes(file, "abc");
    putTextList(file, {"", "xy", std::string(65535, 'z')});
    putInt32List(file, {7, -1});
    closeFile(file);

    const std::string bytes = contentOf(path);
    ASSERT_EQ(bytes.size(), 2u + 4u + 3u + 2u + 4u + 6u + 65535u + 8u);
    EXPECT_EQ(bytes.substr(0, 9), std::string("\xFE\xFF\x04\x03\x02\x01"
                                              "abc",
                                              9));
    EXPECT_EQ(bytes.substr(9, 6), std::string("\x00\x00\x02\x00xy", 6));
    EXPECT_EQ(bytes.substr(15, 6), std::string("\xFF\xFF\xFF\xFF\x00\x00", 6));

    file = openBinary(path);
    EXPECT_EQ(getInt16(file), -2);
    EXPECT_EQ(getInt32(file), 0x01020304);
    EXPECT_EQ(getBytes(file, 3), "abc");
    std::vector<std::string> texts(3);
    getTextList(file, texts);
    EXPECT_EQ(texts[1], "xy");
    EXPECT_EQ(texts[2].size(), 65535u);
    std::vector<int32_t> values(2);
    getInt32List(file, values);
    EXPECT_EQ(values, (std::vector<int32_t>{7, -1}));
    EXPECT_FALSE(file.endOfFile);
    EXPECT_EQ(getInt32(file), 0);
    EXPECT_TRUE(file.endOfFile);
    seekFile(file, 1);
    EXPECT_EQ(getBytes(file, 2), std::string("\xFF\x04", 2));
    EXPECT_FALSE(file.endOfFile);
}

TEST(File, ReadOnlyFilesOpenInBinaryModeForReadingOnly) {
    TempFolder dir;
    const std::string path = dir.file("locked.bin");
    writeRaw(path, "1234");
    ASSERT_TRUE(setAttributes(path, kAttrReadOnly));
    EXPECT_TRUE(isReadOnly(path));

    OpenFile file = openBinary(path);
    ASSERT_TRUE(isOpen(file));
    EXPECT_TRUE(file.readOnly);
    EXPECT_EQ(getBytes(file, 2), "12");
    putBytes(file, "xx");
    EXPECT_EQ(file.lastError, kErrWrongMode);
    closeFile(file);
    EXPECT_EQ(contentOf(path), "1234");

    ASSERT_TRUE(setAttributes(path, 0));
    EXPECT_FALSE(isReadOnly(path));
}

TEST(File, ExistsIsTrueForPlainFilesOnly) {
    TempFolder dir;
    writeRaw(dir.file("a.txt"), "a");
    EXPECT_TRUE(fileExists(dir.file("a.txt")));
    EXPECT_FALSE(fileExists(dir.path().string()));
    EXPECT_TRUE(folderExists(dir.path().string()));
    EXPECT_FALSE(fileExists(dir.file("a.tx?")));
    EXPECT_FALSE(fileExists(dir.file("*.txt")));
    EXPECT_FALSE(fileExists("c:"));
    EXPECT_FALSE(fileExists(""));
}

TEST(File, DeleteFilesTakesPatternsAndWholeFolders) {
    TempFolder dir;
    for (const char* name : {"a.rtf", "b.rtf", "a.htm", "keep.txt"}) writeRaw(dir.file(name), "x");
    ASSERT_TRUE(createFolder(dir.file("sub.rtf")));

    EXPECT_EQ(deleteFiles(dir.file("*.rtf")), kErrNone);
    EXPECT_FALSE(fileExists(dir.file("a.rtf")));
    EXPECT_FALSE(fileExists(dir.file("b.rtf")));
    EXPECT_TRUE(folderExists(dir.file("sub.rtf")));
    EXPECT_TRUE(fileExists(dir.file("a.htm")));

    EXPECT_EQ(deleteFiles(dir.file("a.htm")), kErrNone);
    EXPECT_EQ(deleteFiles(dir.file("a.htm")), kErrNotFound);

    EXPECT_EQ(deleteFiles(dir.path().string() + "/"), kErrNone);
    EXPECT_FALSE(fileExists(dir.file("keep.txt")));
    EXPECT_TRUE(folderExists(dir.file("sub.rtf")));
}

TEST(File, ReplacingContentsIsAllOrNothing) {
    TempFolder dir;
    const std::string path = dir.file("doc.rtf");
    ASSERT_TRUE(replaceFileContents(path, "first", true).ok);
    EXPECT_TRUE(isReadOnly(path));

    // A read-only document is replaced all the same, and marked again.
    ReplaceResult second = replaceFileContents(path, "second", true);
    ASSERT_TRUE(second.ok) << second.error;
    EXPECT_EQ(contentOf(path), "second");
    EXPECT_TRUE(isReadOnly(path));

    // A target in a missing folder fails with a message and writes nothing.
    ReplaceResult failed = replaceFileContents(dir.file("no/such/folder/doc.rtf"), "x");
    EXPECT_FALSE(failed.ok);
    EXPECT_NE(failed.error.find("doc.rtf"), std::string::npos);

    // A folder in the way is not replaced, and nothing is left behind.
    ASSERT_TRUE(createFolder(dir.file("taken")));
    EXPECT_FALSE(replaceFileContents(dir.file("taken"), "x").ok);
    EXPECT_TRUE(folderExists(dir.file("taken")));
    size_t entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 2u);
}

TEST(File, ContentsInPiecesAreJoinedAndAllOrNothing) {
    TempFolder dir;
    const std::string path = dir.file("doc.htm");
    ASSERT_TRUE(replaceFileContents(path, "earlier", true).ok);

    ReplaceResult joined = replaceFileContentsInPieces(
        path,
        [](const ContentSink& sink) {
            for (std::string_view piece : {"one ", "", "two ", "three"})
                if (!sink(piece)) return;
        },
        true);
    ASSERT_TRUE(joined.ok) << joined.error;
    EXPECT_EQ(contentOf(path), "one two three");
    EXPECT_TRUE(isReadOnly(path));

    // A producer that fails half-way leaves the earlier file and nothing else.
    EXPECT_THROW(replaceFileContentsInPieces(path,
                                             [](const ContentSink& sink) {
                                                 sink("half a document");
                                                 throw std::runtime_error("out of memory");
                                             }),
                 std::runtime_error);
    EXPECT_EQ(contentOf(path), "one two three");
    size_t entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 1u);
}

// The temporary files a replace writes, named as a killed run would have
// left them on this system.
#ifdef _WIN32
const char* const kLeftOvers[] = {"~plaxet-0000abcd.tmp", "~plaxet-12345678.tmp"};
const char* const kLookAlikes[] = {"~plaxet-notes.txt", "plaxet-1234.tmp", "~plaxet.tmp"};
#else
const char* const kLeftOvers[] = {".plaxet~a1B2c3", ".plaxet~XyZ789"};
// The last is how earlier versions named theirs, which they did not lock.
const char* const kLookAlikes[] = {".plaxet~notes.txt", "plaxet~a1B2c3", ".plaxet~abc",
                                   ".plaxet-a1B2c3"};
#endif

std::set<std::string> namesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

TEST(File, TemporaryFilesOfKilledRunsAreRemovedByTheNextReplace) {
    TempFolder dir;
    for (const char* name : kLeftOvers) std::ofstream(dir.file(name)) << "half a form";
    for (const char* name : kLookAlikes) std::ofstream(dir.file(name)) << "the user's own";

    ReplaceResult result = replaceFileContents(dir.file("form.plx"), "whole form");
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(contentOf(dir.file("form.plx")), "whole form");
    // The left-overs are gone; files that only look like them stay.
    std::set<std::string> expected(std::begin(kLookAlikes), std::end(kLookAlikes));
    expected.insert("form.plx");
    EXPECT_EQ(namesIn(dir.path()), expected);

    // A temporary file that a save still under way holds is not touched.
    const std::string busy = dir.file(kLeftOvers[0]);
#ifdef _WIN32
    // The writer keeps it open without sharing.
    std::ofstream holder(busy);
    holder << "being written";
    holder.flush();
#else
    // The writer keeps it locked.
    const int holder = ::open(busy.c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
#endif
    result = replaceFileContents(dir.file("form.plx"), "next form");
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(contentOf(dir.file("form.plx")), "next form");
    EXPECT_TRUE(fileExists(busy));
#ifdef _WIN32
    holder.close();
#else
    ::close(holder);
#endif
    // Once its writer is gone it is a left-over like any other.
    ASSERT_TRUE(replaceFileContents(dir.file("form.plx"), "last form").ok);
    EXPECT_FALSE(fileExists(busy));
}

} // namespace plaxet

#ifndef _WIN32
namespace plaxet {

// A read error is never mistaken for a short file. The process's own memory
// file reports an input-output error at offset 0, where nothing is mapped.
TEST(File, ReadErrorsAreNotShortFiles) {
    ASSERT_TRUE(fileExists("/proc/self/mem"));
    EXPECT_EQ(readWholeFile("/proc/self/mem"), std::nullopt);
}

} // namespace plaxet
#endif
