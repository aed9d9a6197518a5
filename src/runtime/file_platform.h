#pragma once
// The few primitives the file layer needs from the operating system,
// implemented once for POSIX and once for Win32. Used only by file.cpp.
#include "runtime/file.h"

namespace plaxet::platform {

void closeHandle(intptr_t handle);

// Owns a native file handle; closes it when it goes out of scope.
class NativeFile {
  public:
    NativeFile() = default;
    explicit NativeFile(intptr_t handle) : handle_(handle) {}
    NativeFile(const NativeFile&) = delete;
    NativeFile& operator=(const NativeFile&) = delete;
    ~NativeFile() {
        if (valid()) closeHandle(handle_);
    }

    bool valid() const { return handle_ != kInvalid; }
    intptr_t get() const { return handle_; }
    static constexpr intptr_t kInvalid = -1;

  private:
    intptr_t handle_ = kInvalid;
};

// An existing plain file opened for reading; an invalid handle when it cannot be.
NativeFile openForReading(const std::string& path);
// The number of bytes read (fewer at the end of the file), or -1 when the
// system reports a read error, so that a failed read is never taken for a short file.
int64_t readBytes(intptr_t handle, char* buffer, int64_t count);
int64_t lengthOf(intptr_t handle);

enum class EntryKind { Missing, File, Folder };
EntryKind entryKind(const std::string& path);
bool setAttributes(const std::string& path, int attributes);
bool isReadOnly(const std::string& path);
bool removeFile(const std::string& path);
ReplaceResult replaceFiles(const std::vector<FileReplacement>& files);
bool createFolder(const std::string& path);
bool heldByAnotherProgram(const std::string& path);

} // namespace plaxet::platform
