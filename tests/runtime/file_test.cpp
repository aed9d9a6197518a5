#include "runtime/file.h"

#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>
#ifdef _WIN32
#include <thread>
#include <windows.h>
#else
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

std::set<std::string> namesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

} // namespace

TEST(File, MissingFilesAndFoldersReadAsNothing) {
    TempFolder dir;
    EXPECT_EQ(readWholeFile(dir.file("missing.txt")), std::nullopt);
    EXPECT_FALSE(fileExists(dir.file("missing.txt")));
    EXPECT_EQ(readWholeFile(dir.path().string()), std::nullopt);
    writeRaw(dir.file("empty.txt"), "");
    EXPECT_EQ(readWholeFile(dir.file("empty.txt")), std::string());
    EXPECT_FALSE(readSharedFile(dir.file("missing.txt")));
    EXPECT_FALSE(readSharedFile(dir.path().string()));
    const std::optional<SharedBytes> empty = readSharedFile(dir.file("empty.txt"));
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
}

// A file read to be shared (a font) keeps the bytes it had when read, in
// every copy, even once the file is replaced; the copies share them.
TEST(File, ASharedFileKeepsItsBytesWhenTheFileIsReplaced) {
    TempFolder dir;
    const std::string path = dir.file("face.ttf");
    const std::string bytes = std::string("\0\1\0\0", 4) + std::string(300000, 'g') + "end";
    writeRaw(path, bytes);
    std::optional<SharedBytes> read = readSharedFile(path);
    ASSERT_TRUE(read);
    const SharedBytes copy = *read;
    EXPECT_EQ(copy.data(), read->data());
    read.reset();
    ASSERT_TRUE(replaceFileContents(path, "a new font").ok);
    EXPECT_TRUE(std::string_view(copy) == bytes);
    EXPECT_EQ(std::string_view(*readSharedFile(path)), "a new font");
}

TEST(File, ReadOnlyFilesCanStillBeRead) {
    TempFolder dir;
    const std::string path = dir.file("locked.bin");
    const std::string bytes = std::string("12\0\x1A\r\n", 6) + std::string(200000, 'x');
    writeRaw(path, bytes);
    ASSERT_TRUE(setAttributes(path, kAttrReadOnly));
    EXPECT_TRUE(isReadOnly(path));
    EXPECT_EQ(contentOf(path), bytes) << "every byte, across read blocks";

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

TEST(File, FilesReplacedTogetherAreJoinedAndAllOrNothing) {
    TempFolder dir;
    const std::string page = dir.file("doc.htm"), text = dir.file("doc.rtf");
    ASSERT_TRUE(replaceFileContents(page, "earlier page", true).ok);
    ASSERT_TRUE(replaceFileContents(text, "earlier text", true).ok);
    const auto pieces = [](std::vector<std::string_view> parts) {
        return [parts](const ContentSink& sink) {
            for (std::string_view piece : parts)
                if (!sink(piece)) return;
        };
    };

    ReplaceResult joined = replaceFilesTogether(
        {{page, pieces({"one ", "", "two ", "three"}), true}, {text, pieces({"four"}), false}});
    ASSERT_TRUE(joined.ok) << joined.error;
    EXPECT_EQ(joined.placed, (std::vector<std::string>{page, text}));
    EXPECT_EQ(contentOf(page), "one two three");
    EXPECT_TRUE(isReadOnly(page));
    EXPECT_EQ(contentOf(text), "four");
    EXPECT_FALSE(isReadOnly(text));

    // A later file that cannot be written keeps the earlier ones from being replaced.
    const std::string missing = dir.file("no such folder") + "/doc.pdf";
    ReplaceResult failed = replaceFilesTogether(
        {{page, pieces({"new page"}), true}, {missing, pieces({"new document"}), true}});
    EXPECT_FALSE(failed.ok);
    EXPECT_NE(failed.error.find("doc.pdf"), std::string::npos);
    EXPECT_TRUE(failed.placed.empty());
    EXPECT_EQ(contentOf(page), "one two three");

    // So does a folder standing where a later file should go.
    ASSERT_TRUE(createFolder(dir.file("doc.pdf")));
    failed = replaceFilesTogether(
        {{page, pieces({"new page"}), true}, {dir.file("doc.pdf"), pieces({"x"}), true}});
    EXPECT_FALSE(failed.ok);
    EXPECT_NE(failed.error.find("doc.pdf"), std::string::npos);
    EXPECT_EQ(contentOf(page), "one two three");
    ASSERT_TRUE(std::filesystem::remove(dir.file("doc.pdf")));

    // So does a producer that fails half-way, and nothing else is left.
    EXPECT_THROW(replaceFilesTogether({{page, pieces({"new page"}), true},
                                       {text,
                                        [](const ContentSink& sink) {
                                            sink("half a document");
                                            throw std::runtime_error("out of memory");
                                        },
                                        false}}),
                 std::runtime_error);
    EXPECT_EQ(contentOf(page), "one two three");
    EXPECT_EQ(contentOf(text), "four");
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"doc.htm", "doc.rtf"}));

    // A target that becomes impossible to replace after the check (here a
    // folder made while the files are written) stops the renames part-way:
    // the files before it are new, and the result says which they are.
    const std::string later = dir.file("doc.pdf");
    const ReplaceResult partly = replaceFilesTogether({{page, pieces({"newer page"}), true},
                                                       {text, pieces({"newer text"}), false},
                                                       {later,
                                                        [&](const ContentSink& sink) {
                                                            ASSERT_TRUE(createFolder(later));
                                                            sink("document");
                                                        },
                                                        true}});
    EXPECT_FALSE(partly.ok);
    EXPECT_NE(partly.error.find("cannot replace " + later), std::string::npos) << partly.error;
    EXPECT_EQ(partly.placed, (std::vector<std::string>{page, text}));
    EXPECT_EQ(contentOf(page), "newer page");
    EXPECT_TRUE(isReadOnly(page));
    EXPECT_EQ(contentOf(text), "newer text");
    EXPECT_TRUE(folderExists(later));
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"doc.htm", "doc.pdf", "doc.rtf"}));
}

// The temporary files a replace writes, named as a killed run would have
// left them on this system.
#ifdef _WIN32
const char* const kLeftOvers[] = {"~plaxet-0000abcd.tmp", "~plaxet-12345678.tmp"};
// Those the search pattern finds but the writer never makes stay too.
const char* const kLookAlikes[] = {"~plaxet-notes.txt",   "plaxet-1234.tmp",
                                   "~plaxet.tmp",         "~plaxet-notes.tmp",
                                   "~plaxet-1234567.tmp", "~plaxet-0000abcdef.tmp"};
#else
const char* const kLeftOvers[] = {".plaxet~a1B2c3", ".plaxet~XyZ789"};
// The last is how earlier versions named theirs, which they did not lock.
const char* const kLookAlikes[] = {".plaxet~notes.txt", "plaxet~a1B2c3", ".plaxet~abc",
                                   ".plaxet-a1B2c3"};
#endif

TEST(File, TemporaryFilesOfKilledRunsAreRemovedByTheNextReplace) {
    TempFolder dir;
    for (const char* name : kLeftOvers) std::ofstream(dir.file(name)) << "half a form";
    // A run killed after marking its file read-only, just before the rename.
    ASSERT_TRUE(setAttributes(dir.file(kLeftOvers[1]), kAttrReadOnly));
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

#ifdef _WIN32
// A target that another program holds open without sharing is waited for a
// while, then reported as held; nothing is replaced and nothing is left.
TEST(File, ATargetHeldByAnotherProgramIsReportedAndKept) {
    TempFolder dir;
    const std::string target = dir.file("job.htm");
    const ReplaceResult first = replaceFileContents(target, "old page", true);
    ASSERT_TRUE(first.ok) << first.error;
    HANDLE holder =
        CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(heldByAnotherProgram(target));
    const ReplaceResult held = replaceFileContents(target, "new page", true);
    CloseHandle(holder);
    EXPECT_FALSE(held.ok);
    EXPECT_TRUE(held.heldByAnotherProgram);
    EXPECT_EQ(held.error, heldFileMessage(target));
    EXPECT_EQ(contentOf(target), "old page");
    EXPECT_TRUE(isReadOnly(target)) << "the mark is given back";
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"job.htm"});

    EXPECT_FALSE(heldByAnotherProgram(target));
    ASSERT_TRUE(replaceFileContents(target, "new page", true).ok);
    EXPECT_EQ(contentOf(target), "new page");
}

// A file that another program reads can be read along with it, and one that
// another program holds without sharing for a moment is read once it lets go.
TEST(File, AFileAnotherProgramHoldsIsReadAlongOrWaitedFor) {
    TempFolder dir;
    const std::string form = dir.file("form.plx");
    writeRaw(form, "the form");
    HANDLE reader = CreateFileA(form.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_EQ(contentOf(form), "the form");
    CloseHandle(reader);

    HANDLE holder = CreateFileA(form.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    std::thread letGo([holder] {
        Sleep(150);
        CloseHandle(holder);
    });
    EXPECT_EQ(contentOf(form), "the form");
    letGo.join();
}
#endif

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
