#pragma once
// Files as wholes: tests, attributes, reading a whole file, and replacing one
// safely. Paths are UTF-8 text (on Windows they reach the system through the
// wide-character API, so any name the file system holds can be used).
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plaxet {

// True for an existing plain file; false for folders, missing paths, wildcard
// paths and paths ending in ':'.
bool fileExists(const std::string& path);
bool folderExists(const std::string& path);
enum FileAttribute : int {
    kAttrReadOnly = 0x01,
    kAttrHidden = 0x02,
    kAttrSystem = 0x04,
    kAttrArchive = 0x20,
};
// Attributes masked with 0x27. On Linux read-only is the removal of write
// permission; the other attributes have no counterpart there.
bool setAttributes(const std::string& path, int attributes);
bool isReadOnly(const std::string& path);

// The whole content of a file, or nothing when it cannot be read.
std::optional<std::string> readWholeFile(const std::string& path);

// Read-only bytes that every copy shares: a file mapped into memory, or a
// text handed over. A copy copies a pointer, never the bytes.
class SharedBytes {
  public:
    SharedBytes() = default;
    SharedBytes(std::string text); // not explicit: a text is bytes as they stand
    SharedBytes(std::shared_ptr<const void> owner, std::string_view bytes)
        : owner_(std::move(owner)), bytes_(bytes) {}
    const char* data() const { return bytes_.data(); }
    size_t size() const { return bytes_.size(); }
    bool empty() const { return bytes_.empty(); }
    operator std::string_view() const { return bytes_; } // not explicit: read as a view
  private:
    std::shared_ptr<const void> owner_; // keeps the bytes alive
    std::string_view bytes_;
};

// The whole content of a large file that is read here and there rather than
// through (a font, of whose half a megabyte a document reads a few tables).
// On Linux the file is mapped into memory, so that only the parts read are
// brought in, straight from the system's cache, instead of being copied into
// fresh memory first. (A mapped file cut short by another program while it is
// read would stop the process; fonts are replaced by new files, not cut.) On
// Windows, and where mapping fails, the file is read whole.
std::optional<SharedBytes> readSharedFile(const std::string& path);

// Writes bytes to a temporary file beside `path` and only then puts it in
// place of `path` (a read-only target is replaced too), so a failure never
// leaves a half-written file behind. On failure `error` says what went wrong
// and the previous file is untouched.
// Another program holding the target open (Windows: without delete sharing)
// is waited out for about a second; after that `heldByAnotherProgram` is set
// and `error` says which file is open and that it should be closed first.
struct ReplaceResult {
    bool ok = false;
    std::string error; // why the first file that failed did
    bool heldByAnotherProgram = false;
    // The paths that now hold their new contents, in the order given. When
    // the replace fails these are the files put in place before the failure;
    // every other file is as it was.
    std::vector<std::string> placed{};
};
ReplaceResult replaceFileContents(const std::string& path, std::string_view bytes,
                                  bool markReadOnly = false);

// Takes the next piece of a file's new contents; false once a piece could not
// be written (the producer may then stop early).
using ContentSink = std::function<bool(std::string_view piece)>;
// Hands contents to the sink piece by piece, in order.
using ContentProducer = std::function<void(const ContentSink&)>;

// One file of a replace: its contents handed over piece by piece, so that a
// large file never has to be held in memory whole (`produce` passes the
// pieces to the sink in order).
struct FileReplacement {
    std::string path;
    ContentProducer produce;
    bool markReadOnly = false;
};

// replaceFileContents for files that belong together, such as the documents
// of one form: every new content is written and flushed to the disk (with its
// read-only mark) before any file is put in place, so a failure while writing
// (a full disk) leaves every earlier file as it was. The files are then put in
// place in order; a failure there (another program took hold of a target
// meanwhile) stops the rest: the result names the file and why, and
// `placed` the files before it, which are new. The folders are flushed once,
// after the renames.
ReplaceResult replaceFilesTogether(const std::vector<FileReplacement>& files);

bool createFolder(const std::string& path);

// Whether another program holds the existing file `path` open so that it
// cannot be replaced (Windows: opened without delete sharing), after waiting
// about a second for it to be let go. Never on Linux, where an open file can
// be replaced.
bool heldByAnotherProgram(const std::string& path);

// What the user is told of a file that another program holds open.
std::string heldFileMessage(const std::string& path);

// Deletes a plain file, read-only or not. True when it is gone (or never was).
bool removeFile(const std::string& path);

} // namespace plaxet
