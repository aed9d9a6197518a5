#include "runtime/file.h"

#include "runtime/file_platform.h"
#include "runtime/paths.h"

#include <algorithm>
#include <cstdint>
#include <deque>

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

namespace {

// An existing plain file opened for reading; none for a folder, a missing
// path or a file that cannot be opened.
platform::NativeFile openPlainFile(const std::string& path) {
    return fileExists(path) ? platform::openForReading(path) : platform::NativeFile();
}

std::optional<std::string> readAll(const platform::NativeFile& file) {
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

} // namespace

std::optional<std::string> readWholeFile(const std::string& path) {
    const platform::NativeFile file = openPlainFile(path);
    if (!file) return std::nullopt;
    return readAll(file);
}

SharedBytes::SharedBytes(std::string text) {
    auto held = std::make_shared<const std::string>(std::move(text));
    bytes_ = *held;
    owner_ = std::move(held);
}

std::optional<SharedBytes> readSharedFile(const std::string& path) {
    const platform::NativeFile file = openPlainFile(path);
    if (!file) return std::nullopt;
    const int64_t length = platform::lengthOf(file.get());
    if (length > 0 && static_cast<uint64_t>(length) <= PTRDIFF_MAX)
        if (const char* mapped = platform::mapForReading(file.get(), length)) {
            std::shared_ptr<const char> owner(
                mapped, [length](const char* bytes) { platform::unmapFile(bytes, length); });
            return SharedBytes(std::move(owner),
                               std::string_view(mapped, static_cast<size_t>(length)));
        }
    std::optional<std::string> whole = readAll(file);
    if (!whole) return std::nullopt;
    return SharedBytes(std::move(*whole));
}

ReplaceResult replaceFileContents(const std::string& path, std::string_view bytes,
                                  bool markReadOnly) {
    return replaceFilesTogether(
        {{path, [bytes](const ContentSink& sink) { sink(bytes); }, markReadOnly}});
}

namespace {

// The new contents of one file of a replace, in a temporary file beside it
// until they are put in place. The temporary file is removed when this goes
// out of scope without having been put in place, so neither a failure nor a
// producer that throws leaves one behind.
class PendingFile {
  public:
    explicit PendingFile(const FileReplacement& file) : file_(file) {}
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile() {
        if (temporary_.file) platform::discardTemporary(temporary_);
    }

    // Creates the temporary file and writes the contents into it.
    bool write(const std::string& folder, std::string& error) {
        if (!platform::createTemporary(folder, temporary_)) {
            error = failure("cannot write in the folder of ");
            return false;
        }
        bool sinkFailed = false;
        int64_t written = 0;
        const ContentSink sink = [&](std::string_view piece) {
            if (!sinkFailed && !platform::writeBytes(temporary_, piece, written)) {
                sinkFailed = true;
                error = failure("cannot write ");
            }
            written += static_cast<int64_t>(piece.size());
            return !sinkFailed;
        };
        file_.produce(sink);
        return !sinkFailed;
    }

    // Waits until the contents are on the disk and gives the file its
    // permissions and its read-only mark, before anything is put in place.
    bool finish(std::string& error) {
        if (platform::finishTemporary(temporary_, file_.path, file_.markReadOnly)) return true;
        error = failure("cannot write ");
        return false;
    }

    bool putInPlace(ReplaceResult& result) {
        switch (platform::renameIntoPlace(temporary_, file_.path)) {
        case platform::Placement::Done:
            return true;
        case platform::Placement::Held:
            result.heldByAnotherProgram = true;
            result.error = heldFileMessage(file_.path);
            return false;
        case platform::Placement::Refused:
            break;
        }
        result.error = failure("cannot replace ");
        return false;
    }

  private:
    std::string failure(std::string_view what) const {
        return std::string(what) + file_.path + ": " + platform::lastErrorText();
    }

    const FileReplacement& file_;
    platform::TemporaryFile temporary_;
};

// What stops a replace before anything is written: a name that is no file's,
// or a folder where a file should go (which would stop the files being put in
// place part-way, after the ones before it).
std::string refusalBeforeWriting(const std::vector<FileReplacement>& files) {
    for (const FileReplacement& file : files) {
        if (file.path.empty() || endsFolder(file.path.back()))
            return "not a file name: " + file.path;
        if (platform::entryKind(file.path) == platform::EntryKind::Folder)
            return "cannot replace " + file.path + ": a folder of that name is in the way";
    }
    return {};
}

} // namespace

// Every file is written, then every file is finished, and only then are they
// put in place, in order; the folders are flushed once, after the renames.
ReplaceResult replaceFilesTogether(const std::vector<FileReplacement>& files) {
    ReplaceResult result;
    result.error = refusalBeforeWriting(files);
    if (!result.error.empty()) return result;
    std::deque<PendingFile> pending; // they stay where they are made
    std::vector<std::string> folders;
    for (const FileReplacement& file : files) {
        const std::string folder = folderPart(file.path);
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
            platform::removeLeftOverTemporaries(folder);
            folders.push_back(folder);
        }
        if (!pending.emplace_back(file).write(folder, result.error)) return result;
    }
    for (PendingFile& file : pending)
        if (!file.finish(result.error)) return result;
    for (size_t i = 0; i < files.size() && pending[i].putInPlace(result); ++i)
        result.placed.push_back(files[i].path);
    if (!result.placed.empty())
        for (const std::string& folder : folders) platform::flushFolder(folder);
    result.ok = result.placed.size() == files.size();
    return result;
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
