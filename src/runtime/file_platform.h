#pragma once
// The few primitives the file layer needs from the operating system,
// implemented once for POSIX and once for Win32. Used only by file.cpp.
#include "runtime/file.h"

namespace plaxet::platform {

// An invalid handle when the file cannot be opened. Binary mode falls back to
// read access and reports it through readOnly.
NativeFile openFile(const std::string& path, OpenMode mode, Sharing sharing, bool& readOnly);
void closeHandle(intptr_t handle);
// The number of bytes read (fewer at the end of the file), or -1 when the
// system reports a read error, so that a failed read is never taken for a short file.
int64_t readBytes(intptr_t handle, char* buffer, int64_t count);
int64_t writeBytes(intptr_t handle, const char* bytes, int64_t count);
bool seekTo(intptr_t handle, int64_t position);
int64_t currentPosition(intptr_t handle);
int64_t lengthOf(intptr_t handle);

enum class EntryKind { Missing, File, Folder };
EntryKind entryKind(const std::string& path);
int deleteMatching(const std::string& pattern);
bool setAttributes(const std::string& path, int attributes);
bool isReadOnly(const std::string& path);
ReplaceResult replaceFileContents(const std::string& path,
                                  const std::function<void(const ContentSink&)>& produce,
                                  bool markReadOnly);
bool createFolder(const std::string& path);

} // namespace plaxet::platform
