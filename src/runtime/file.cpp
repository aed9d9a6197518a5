#include "runtime/file.h"

#include "runtime/binary.h"
#include "runtime/file_platform.h"

namespace plaxet {
namespace {

constexpr size_t kReadBlock = 64 * 1024;
constexpr char kEndOfData = 0x1A;

OpenFile openIn(const std::string& path, OpenMode mode, Sharing sharing) {
    OpenFile file;
    file.native = platform::openFile(path, mode, sharing, file.readOnly);
    if (file.native.valid())
        file.mode = mode;
    else
        file.lastError = kErrNotFound;
    return file;
}

bool requireMode(OpenFile& file, bool allowed) {
    if (!isOpen(file)) {
        file.lastError = kErrNotOpen;
        return false;
    }
    if (!allowed) {
        file.lastError = kErrWrongMode;
        return false;
    }
    return true;
}

bool canWrite(const OpenFile& file) {
    return file.mode == OpenMode::Output || (file.mode == OpenMode::Binary && !file.readOnly);
}

// Refills the read-ahead buffer of an input file; false at the physical end.
bool fillBuffer(OpenFile& file) {
    file.readBuffer.resize(kReadBlock);
    int64_t got = platform::readBytes(file.native.get(), file.readBuffer.data(), kReadBlock);
    file.readBuffer.resize(got > 0 ? static_cast<size_t>(got) : 0);
    file.bufferPosition = 0;
    return !file.readBuffer.empty();
}

// Next byte of an input file, or -1 when the data has ended.
int nextByte(OpenFile& file) {
    if (file.dataEnded) return -1;
    if (file.bufferPosition >= file.readBuffer.size() && !fillBuffer(file)) {
        file.dataEnded = true;
        return -1;
    }
    const char c = file.readBuffer[file.bufferPosition++];
    if (c == kEndOfData) {
        file.dataEnded = true;
        return -1;
    }
    return static_cast<unsigned char>(c);
}

int peekByte(OpenFile& file) {
    if (file.dataEnded) return -1;
    if (file.bufferPosition >= file.readBuffer.size() && !fillBuffer(file)) return -1;
    return static_cast<unsigned char>(file.readBuffer[file.bufferPosition]);
}

} // namespace

NativeFile& NativeFile::operator=(NativeFile&& other) noexcept {
    if (this != &other) {
        if (valid()) platform::closeHandle(handle_);
        handle_ = other.release();
    }
    return *this;
}

NativeFile::~NativeFile() {
    if (valid()) platform::closeHandle(handle_);
}

OpenFile openInput(const std::string& path) {
    return openIn(path, OpenMode::Input, Sharing::None);
}
OpenFile openOutput(const std::string& path, Sharing sharing) {
    return openIn(path, OpenMode::Output, sharing);
}
OpenFile openBinary(const std::string& path) {
    return openIn(path, OpenMode::Binary, Sharing::None);
}

void closeFile(OpenFile& file) {
    file.native = NativeFile();
    file.mode = OpenMode::Closed;
    file.readBuffer.clear();
    file.bufferPosition = 0;
}

bool isOpen(const OpenFile& file) {
    return file.mode != OpenMode::Closed && file.native.valid();
}

void writeLine(OpenFile& file, std::string_view text) {
    std::string line(text);
    line += "\r\n";
    if (!requireMode(file, file.mode == OpenMode::Output)) return;
    putBytes(file, line);
}

std::string readLine(OpenFile& file) {
    if (!requireMode(file, file.mode == OpenMode::Input)) return {};
    int c = nextByte(file);
    if (c < 0) {
        file.lastError = kErrPastEnd;
        return {};
    }
    std::string line;
    while (c >= 0 && c != '\r') {
        line += static_cast<char>(c);
        c = nextByte(file);
    }
    if (c == '\r' && peekByte(file) == '\n') nextByte(file);
    return line;
}

void putBytes(OpenFile& file, std::string_view bytes) {
    if (!requireMode(file, canWrite(file))) return;
    file.endOfFile = false;
    int64_t written =
        platform::writeBytes(file.native.get(), bytes.data(), static_cast<int64_t>(bytes.size()));
    if (written != static_cast<int64_t>(bytes.size())) file.lastError = kErrShortWrite;
}

std::string getBytes(OpenFile& file, int32_t count) {
    if (count <= 0 || !requireMode(file, file.mode == OpenMode::Binary)) return {};
    std::string bytes(static_cast<size_t>(count), '\0');
    int64_t got = platform::readBytes(file.native.get(), bytes.data(), count);
    if (got < 0) got = 0;
    file.endOfFile = got < count;
    if (file.endOfFile) file.lastError = kErrPastEnd;
    return bytes; // the bytes not read stay zero
}

void putInt16(OpenFile& file, int16_t value) {
    std::string bytes;
    putInt16(bytes, value);
    putBytes(file, bytes);
}

void putInt32(OpenFile& file, int32_t value) {
    std::string bytes;
    putInt32(bytes, value);
    putBytes(file, bytes);
}

int16_t getInt16(OpenFile& file) {
    const std::string bytes = getBytes(file, 2);
    ByteReader in{bytes};
    return readInt16(in);
}

int32_t getInt32(OpenFile& file) {
    const std::string bytes = getBytes(file, 4);
    ByteReader in{bytes};
    return readInt32(in);
}

void putTextList(OpenFile& file, const std::vector<std::string>& texts) {
    std::string bytes;
    for (const std::string& text : texts) putShortCounted(bytes, text);
    putBytes(file, bytes);
}

void getTextList(OpenFile& file, std::vector<std::string>& texts) {
    for (std::string& text : texts) {
        uint32_t length = static_cast<uint16_t>(getInt16(file));
        if (length == 0xFFFF) length = static_cast<uint32_t>(getInt32(file));
        // Never more than the file can still hold.
        const int64_t left = fileLength(file) - filePosition(file);
        text = getBytes(file, static_cast<int32_t>(std::min<int64_t>(length, left > 0 ? left : 0)));
    }
}

void putInt32List(OpenFile& file, const std::vector<int32_t>& values) {
    std::string bytes;
    for (int32_t v : values) putInt32(bytes, v);
    putBytes(file, bytes);
}

void getInt32List(OpenFile& file, std::vector<int32_t>& values) {
    for (int32_t& v : values) v = getInt32(file);
}

void seekFile(OpenFile& file, int64_t position) {
    if (!requireMode(file, file.mode == OpenMode::Binary)) return;
    platform::seekTo(file.native.get(), position < 0 ? 0 : position);
}

int64_t filePosition(OpenFile& file) {
    return isOpen(file) ? platform::currentPosition(file.native.get()) : 0;
}

int64_t fileLength(OpenFile& file) {
    return isOpen(file) ? platform::lengthOf(file.native.get()) : 0;
}

bool fileExists(const std::string& path) {
    if (path.empty() || path.find_first_of("?*") != std::string::npos || path.back() == ':')
        return false;
    return platform::entryKind(path) == platform::EntryKind::File;
}

bool folderExists(const std::string& path) {
    return !path.empty() && platform::entryKind(path) == platform::EntryKind::Folder;
}

int deleteFiles(const std::string& pattern) {
    return platform::deleteMatching(pattern);
}

bool setAttributes(const std::string& path, int attributes) {
    return platform::setAttributes(path, attributes & 0x27);
}

bool isReadOnly(const std::string& path) {
    return platform::isReadOnly(path);
}

std::optional<std::string> readWholeFile(const std::string& path) {
    if (!fileExists(path)) return std::nullopt;
    OpenFile file = openInput(path);
    if (!isOpen(file)) return std::nullopt;
    std::string content;
    const int64_t length = fileLength(file);
    if (length > 0) content.reserve(static_cast<size_t>(length));
    char block[kReadBlock];
    for (;;) {
        int64_t got = platform::readBytes(file.native.get(), block, sizeof block);
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        content.append(block, static_cast<size_t>(got));
    }
    return content;
}

ReplaceResult replaceFileContents(const std::string& path, std::string_view bytes,
                                  bool markReadOnly) {
    return platform::replaceFileContents(
        path, [bytes](const ContentSink& sink) { sink(bytes); }, markReadOnly);
}

ReplaceResult replaceFileContentsInPieces(const std::string& path,
                                          const std::function<void(const ContentSink&)>& produce,
                                          bool markReadOnly) {
    return platform::replaceFileContents(path, produce, markReadOnly);
}

bool createFolder(const std::string& path) {
    return platform::createFolder(path);
}

} // namespace plaxet
