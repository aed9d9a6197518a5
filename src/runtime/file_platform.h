#pragma once
// The few primitives the file layer needs from the operating system,
// implemented once for POSIX (file_posix.cpp) and once for Win32
// (file_win32.cpp). Every sequence made of them (reading a whole file, the
// replace of files together) is in file.cpp, once. Used only by file.cpp.
#include "runtime/file.h"
#include "runtime/unique_handle.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace plaxet::platform {

void closeHandle(intptr_t handle);
struct NativeFileRelease {
    void operator()(intptr_t handle) const { closeHandle(handle); }
};
// -1 is both a failed descriptor and INVALID_HANDLE_VALUE.
struct NoNativeFile {
    static constexpr intptr_t value() { return -1; }
};
// An open file: a descriptor on POSIX, a HANDLE on Windows.
using NativeFile = UniqueHandle<intptr_t, NativeFileRelease, NoNativeFile>;

// Why the last primitive that failed failed, in the system's words
// (errno or GetLastError).
std::string lastErrorText();

// An existing plain file opened for reading; no file when it cannot be.
// Other readers may read along; on Windows a program that holds it without
// sharing it for reading is waited for about a second.
NativeFile openForReading(const std::string& path);
// The number of bytes read (fewer at the end of the file), or -1 when the
// system reports a read error, so that a failed read is never taken for a short file.
int64_t readBytes(intptr_t handle, char* buffer, int64_t count);
int64_t lengthOf(intptr_t handle);
// The file's first `length` bytes mapped read-only into memory, released
// with `unmapFile`; null when the file is not mapped (always on Windows).
const char* mapForReading(intptr_t handle, int64_t length);
void unmapFile(const char* bytes, int64_t length);

enum class EntryKind { Missing, File, Folder };
EntryKind entryKind(const std::string& path);
bool setAttributes(const std::string& path, int attributes);
bool isReadOnly(const std::string& path);
bool removeFile(const std::string& path);
bool createFolder(const std::string& path);

// The primitives of a replace. `folder` is a path's folder part as
// folderPart gives it (ending in a separator, or empty for the current folder).

// A temporary file of a replace: created anew in the target's folder under a
// name of the writer's own form (POSIX `.plaxet~XXXXXX`, Windows `~plaxet-`
// and eight hexadecimal digits `.tmp`), and held by its writer (POSIX: an
// exclusive lock; Windows: open without sharing) until it is renamed into
// place or discarded, so that no clean-up of another run takes it away.
struct TemporaryFile {
    NativeFile file;
    std::string path;
};
// False, with the reason in lastErrorText, when the folder takes no new file.
bool createTemporary(const std::string& folder, TemporaryFile& made);
// Removes the temporary files in the folder that are named exactly as
// createTemporary names them and that no live writer holds: the left-overs
// of runs that were killed.
void removeLeftOverTemporaries(const std::string& folder);

// Appends bytes to the temporary file; `written` counts what went before (a
// long file is sent on to the disk as it grows).
bool writeBytes(TemporaryFile& temporary, std::string_view bytes, int64_t written);
// Waits until the contents are on the disk, and gives the file what the
// target should have: on POSIX the old target's permissions (or 0644), on
// both without any write permission (the read-only mark) when asked.
bool finishTemporary(TemporaryFile& temporary, const std::string& target, bool markReadOnly);

enum class Placement { Done, Held, Refused };
// Renames the temporary file onto `target` through its own handle, replacing
// a file there (read-only or not), and lets go of it. On Windows a target
// that another program holds open is waited for about a second before
// Held. On Held or Refused the temporary file is still held and
// lastErrorText says why.
Placement renameIntoPlace(TemporaryFile& temporary, const std::string& target);
// Removes a temporary file that was not put in place, and lets go of it.
void discardTemporary(TemporaryFile& temporary);

// Makes the renames in the folder last through a power cut, where the system
// needs that on its own (POSIX); failing to is no failure of the replace.
void flushFolder(const std::string& folder);

// Whether another program holds the existing file open so that it cannot be
// replaced, after about a second's wait (Windows); never on POSIX.
bool heldByAnotherProgram(const std::string& path);

} // namespace plaxet::platform
