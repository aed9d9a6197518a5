#pragma once
// Files: opening in the three modes, text lines, binary values, and the few
// whole-file operations. Paths are ANSI bytes. A failing operation has no
// effect and yields an empty text or zero; its error number is kept in the
// open file for whoever wants to know.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plaxet {

enum class OpenMode { Closed, Input, Output, Binary };
enum class Sharing { None, Read };

// Error numbers recorded by the file operations.
enum FileError : int {
    kErrNone = 0,
    kErrNotOpen = 52,
    kErrNotFound = 53,
    kErrWrongMode = 54,
    kErrShortWrite = 61,
    kErrPastEnd = 62,
};

// Owns a native file handle; closes it when it goes out of scope.
class NativeFile {
  public:
    NativeFile() = default;
    explicit NativeFile(intptr_t handle) : handle_(handle) {}
    NativeFile(NativeFile&& other) noexcept : handle_(other.release()) {}
    NativeFile& operator=(NativeFile&& other) noexcept;
    NativeFile(const NativeFile&) = delete;
    NativeFile& operator=(const NativeFile&) = delete;
    ~NativeFile();

    bool valid() const { return handle_ != kInvalid; }
    intptr_t get() const { return handle_; }
    intptr_t release() {
        intptr_t h = handle_;
        handle_ = kInvalid;
        return h;
    }
    static constexpr intptr_t kInvalid = -1;

  private:
    intptr_t handle_ = kInvalid;
};

// One open file: its handle, mode, byte position and end-of-file flag.
struct OpenFile {
    NativeFile native;
    OpenMode mode = OpenMode::Closed;
    bool readOnly = false;  // binary mode fell back to read access
    bool endOfFile = false; // set by a short read, cleared by the next transfer
    int lastError = kErrNone;
    std::string readBuffer; // input mode reads ahead in blocks
    size_t bufferPosition = 0;
    bool dataEnded = false; // input mode met 0x1A or the physical end
};

OpenFile openInput(const std::string& path);
OpenFile openOutput(const std::string& path, Sharing sharing);
OpenFile openBinary(const std::string& path);
void closeFile(OpenFile& file);
bool isOpen(const OpenFile& file);

// Text lines: written as the bytes followed by CR LF; read up to CR (an LF
// right after it is consumed), with 0x1A or the end of the file ending the data.
void writeLine(OpenFile& file, std::string_view text);
std::string readLine(OpenFile& file);

// Binary transfers at the current position, which they advance.
void putBytes(OpenFile& file, std::string_view bytes);
std::string getBytes(OpenFile& file, int32_t count); // missing bytes read as zero
void putInt16(OpenFile& file, int16_t value);
void putInt32(OpenFile& file, int32_t value);
int16_t getInt16(OpenFile& file);
int32_t getInt32(OpenFile& file);
// A list of texts as a whole: each with a 16-bit length (0xFFFF and a 32-bit
// length from 65535 bytes on). A get reads as many texts as the list holds.
void putTextList(OpenFile& file, const std::vector<std::string>& texts);
void getTextList(OpenFile& file, std::vector<std::string>& texts);
void putInt32List(OpenFile& file, const std::vector<int32_t>& values);
void getInt32List(OpenFile& file, std::vector<int32_t>& values);
void seekFile(OpenFile& file, int64_t position); // 0-based byte position
int64_t filePosition(OpenFile& file);
int64_t fileLength(OpenFile& file);

// True for an existing plain file; false for folders, missing paths, wildcard
// paths and paths ending in ':'.
bool fileExists(const std::string& path);
bool folderExists(const std::string& path);
// Deletes every plain file matching the path or pattern (* and ? in the last
// part; a path ending in a separator or ':' means all files in that folder).
// Hidden, system and folder entries are skipped. kErrNotFound when none matched.
int deleteFiles(const std::string& pattern);

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

// Writes bytes to a temporary file beside `path` and only then puts it in
// place of `path` (a read-only target is replaced too), so a failure never
// leaves a half-written file behind. On failure `error` says what went wrong
// and the previous file is untouched.
struct ReplaceResult {
    bool ok = false;
    std::string error;
};
ReplaceResult replaceFileContents(const std::string& path, std::string_view bytes,
                                  bool markReadOnly = false);

// Takes the next piece of a file's new contents; false once a piece could not
// be written (the producer may then stop early).
using ContentSink = std::function<bool(std::string_view piece)>;

// replaceFileContents for contents handed over piece by piece, so that a large
// file never has to be held in memory whole: `produce` passes the pieces to
// the sink in order. The file is put in place only when every piece was written.
ReplaceResult replaceFileContentsInPieces(const std::string& path,
                                          const std::function<void(const ContentSink&)>& produce,
                                          bool markReadOnly = false);

bool createFolder(const std::string& path);

} // namespace plaxet
