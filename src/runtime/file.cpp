#include "runtime/file.h"

#include "runtime/file_platform.h"

#include <algorithm>

namespace plaxet {
namespace {

constexpr size_t kReadBlock = 64 * 1024;

} // namespace

bool fileExists(const std::string& path) {
    if (path.empty() || path.find_first_of("?*") != std::string::npos || path.back() == ':')
        return false;
    return platform::entryKind(path) == platform::EntryKind::File;
}

bool folderExists(const std::string& path) {
    return !path.empty() && platform::entryKind(path) == platform::EntryKind::Folder;
}

bool setAttributes(const std::string& path, int attributes) {
    return platform::setAttributes(path, attributes & 0x27);
}

bool isReadOnly(const std::string& path) {
    return platform::isReadOnly(path);
}

std::optional<std::string> readWholeFile(const std::string& path) {
    if (!fileExists(path)) return std::nullopt;
    const platform::NativeFile file = platform::openForReading(path);
    if (!file.valid()) return std::nullopt;
    // Read straight into the text. It has a byte more than the length the
    // system gives, so that a short read says the end was reached; a file
    // that grows while it is read gets more room.
    const int64_t length = platform::lengthOf(file.get());
    std::string content(static_cast<size_t>(std::max<int64_t>(length, 0)) + 1, '\0');
    size_t filled = 0;
    for (;;) {
        if (filled == content.size()) content.resize(filled + kReadBlock);
        const auto wanted = static_cast<int64_t>(content.size() - filled);
        const int64_t got = platform::readBytes(file.get(), content.data() + filled, wanted);
        if (got < 0) return std::nullopt;
        filled += static_cast<size_t>(got);
        if (got < wanted) break;
    }
    content.resize(filled);
    return content;
}

ReplaceResult replaceFileContents(const std::string& path, std::string_view bytes,
                                  bool markReadOnly) {
    return replaceFilesTogether(
        {{path, [bytes](const ContentSink& sink) { sink(bytes); }, markReadOnly}});
}

ReplaceResult replaceFilesTogether(const std::vector<FileReplacement>& files) {
    // A folder where a file should go would stop the files being put in
    // place part-way, after the ones before it: it is found before anything
    // is written.
    for (const FileReplacement& file : files)
        if (platform::entryKind(file.path) == platform::EntryKind::Folder)
            return {false, "cannot replace " + file.path + ": a folder of that name is in the way"};
    return platform::replaceFiles(files);
}

bool heldByAnotherProgram(const std::string& path) {
    return platform::heldByAnotherProgram(path);
}

std::string heldFileMessage(const std::string& path) {
    return "cannot replace " + path +
           ": it is open in another program.\r\nClose it there, then try again.";
}

bool removeFile(const std::string& path) {
    const platform::EntryKind kind = platform::entryKind(path);
    if (kind != platform::EntryKind::File) return kind == platform::EntryKind::Missing;
    return platform::removeFile(path);
}

bool createFolder(const std::string& path) {
    return platform::createFolder(path);
}

} // namespace plaxet
