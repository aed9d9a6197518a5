// The file primitives on Windows, through the wide-character API.
#include "runtime/file_platform.h"

#include "runtime/wide.h"
#include "runtime/win32_owners.h"

#include <algorithm>
#include <cstring>
#include <vector>
#include <windows.h>

namespace plaxet::platform {
namespace {

HANDLE asHandle(intptr_t h) {
    return reinterpret_cast<HANDLE>(h);
}

bool writeAll(HANDLE h, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(h, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

// Windows refuses write access to a read-only file by itself; Wine leaves that
// to the host's permissions, which a process running as root bypasses. Asking
// first gives the same outcome everywhere.
bool markedReadOnly(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           (attributes & FILE_ATTRIBUTE_READONLY);
}

// Temporary files of a replace are named this prefix, eight hexadecimal
// digits and ".tmp". Their writer keeps them open without sharing until they
// are renamed into place, so one that can be deleted was left behind by a
// run that was killed.
constexpr std::wstring_view kTemporaryPrefix = L"~plaxet-";
constexpr std::wstring_view kTemporarySuffix = L".tmp";
constexpr size_t kTemporaryDigits = 8;

bool isTemporaryName(std::wstring_view name) {
    if (name.size() != kTemporaryPrefix.size() + kTemporaryDigits + kTemporarySuffix.size() ||
        !name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix))
        return false;
    const std::wstring_view digits = name.substr(kTemporaryPrefix.size(), kTemporaryDigits);
    return std::all_of(digits.begin(), digits.end(), [](wchar_t c) {
        return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f');
    });
}

// Errors by which another program's open handle refuses to share a file.
// Such a hold is often short (a virus scanner, an indexer), so it is waited
// out for a while.
bool isSharingError(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// A rename onto a plain file that another program holds open is refused as
// access denied too (a folder in the way is refused so as well, and is no hold).
bool isHoldOn(const std::wstring& target, DWORD error) {
    if (isSharingError(error)) return true;
    if (error != ERROR_ACCESS_DENIED) return false;
    const DWORD attributes = GetFileAttributesW(target.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
constexpr DWORD kHoldPatienceMs = 1000;
constexpr DWORD kHoldRetryMs = 50;

// Runs `attempt` until it succeeds, fails with an error that `held` does not
// take for a hold, or about a second has passed. The last error stays for
// the caller.
template <typename Attempt, typename Held> bool retryWhileHeld(Attempt attempt, Held held) {
    const ULONGLONG deadline = GetTickCount64() + kHoldPatienceMs;
    for (;;) {
        if (attempt()) return true;
        const DWORD error = GetLastError();
        const bool again = held(error) && GetTickCount64() < deadline;
        SetLastError(error);
        if (!again) return false;
        Sleep(kHoldRetryMs);
    }
}

HANDLE handleOf(const TemporaryFile& temporary) {
    return asHandle(temporary.file.get());
}

// Deletes an open file through its handle when the handle closes, read-only
// or not (the handle needs DELETE and FILE_WRITE_ATTRIBUTES access).
void deleteWhenClosed(HANDLE file) {
    FILE_BASIC_INFO plain{};
    plain.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    SetFileInformationByHandle(file, FileBasicInfo, &plain, sizeof plain);
    FILE_DISPOSITION_INFO gone{};
    gone.DeleteFile = TRUE;
    SetFileInformationByHandle(file, FileDispositionInfo, &gone, sizeof gone);
}

// Renames the open file onto the full path `name` (the system reads it as it
// reads any path, up to its terminating zero), replacing the file there. The
// last error says why when it fails.
bool renameOnto(HANDLE file, const std::wstring& name) {
    // Zeroed: FileName[1] leaves room for the terminating zero.
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    std::memcpy(rename->FileName, name.data(), name.size() * sizeof(wchar_t));
    return SetFileInformationByHandle(file, FileRenameInfo, rename,
                                      static_cast<DWORD>(buffer.size())) != 0;
}

} // namespace

std::string lastErrorText() {
    const DWORD code = GetLastError();
    wchar_t* message = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    const UniqueLocalMemory<wchar_t> owned(message);
    std::string text = message ? fromWide(message) : "error " + std::to_string(code);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

// Other readers may read along. A program that holds the file without
// sharing it for reading (one writing it, a virus scanner) is waited for.
NativeFile openForReading(const std::string& path) {
    const std::wstring wide = toWide(path);
    HANDLE h = INVALID_HANDLE_VALUE;
    const auto open = [&] {
        h = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
        return h != INVALID_HANDLE_VALUE;
    };
    if (!retryWhileHeld(open, isSharingError)) return NativeFile();
    return NativeFile(reinterpret_cast<intptr_t>(h));
}

void closeHandle(intptr_t handle) {
    CloseHandle(asHandle(handle));
}

int64_t readBytes(intptr_t handle, char* buffer, int64_t count) {
    int64_t done = 0;
    while (done < count) {
        DWORD chunk = static_cast<DWORD>(std::min<int64_t>(count - done, 1 << 30));
        DWORD got = 0;
        if (!ReadFile(asHandle(handle), buffer + done, chunk, &got, nullptr)) return -1;
        if (got == 0) break;
        done += got;
    }
    return done;
}

int64_t lengthOf(intptr_t handle) {
    LARGE_INTEGER size{};
    return GetFileSizeEx(asHandle(handle), &size) ? size.QuadPart : 0;
}

// Not mapped: Windows keeps a mapped file from being deleted or replaced, and
// the window keeps the fonts it has read for the whole session.
const char* mapForReading(intptr_t, int64_t) {
    return nullptr;
}

void unmapFile(const char*, int64_t) {}

EntryKind entryKind(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(toWide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return EntryKind::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::Folder : EntryKind::File;
}

bool setAttributes(const std::string& path, int attributes) {
    DWORD value = static_cast<DWORD>(attributes);
    if (value == 0) value = FILE_ATTRIBUTE_NORMAL;
    return SetFileAttributesW(toWide(path).c_str(), value) != 0;
}

bool removeFile(const std::string& path) {
    const std::wstring wide = toWide(path);
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL); // a read-only file cannot be deleted
    return DeleteFileW(wide.c_str()) != 0 || GetLastError() == ERROR_FILE_NOT_FOUND;
}

bool isReadOnly(const std::string& path) {
    return markedReadOnly(toWide(path));
}

bool createFolder(const std::string& path) {
    const std::wstring wide = toWide(path);
    for (size_t i = 1; i <= wide.size(); ++i) {
        if (i == wide.size() || wide[i] == L'\\' || wide[i] == L'/') {
            const std::wstring partial = wide.substr(0, i);
            if (!partial.empty() && partial.back() != L':')
                CreateDirectoryW(partial.c_str(), nullptr);
        }
    }
    return entryKind(path) == EntryKind::Folder;
}

bool heldByAnotherProgram(const std::string& path) {
    const std::wstring wide = toWide(path);
    // Only what a replace needs of the file, and everything shared, so that
    // only another program's refusal to share stands in the way.
    const bool free = retryWhileHeld(
        [&] {
            HANDLE probe = CreateFileW(wide.c_str(), DELETE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (probe == INVALID_HANDLE_VALUE) return false;
            CloseHandle(probe);
            return true;
        },
        isSharingError);
    return !free && isSharingError(GetLastError());
}

// Each is opened for deletion without sharing: one whose writer still holds
// it open cannot be, and stays. One marked read-only (its run was killed
// after marking it) loses the mark through the same handle.
void removeLeftOverTemporaries(const std::string& folder) {
    const std::wstring wideFolder = toWide(folder);
    WIN32_FIND_DATAW found;
    const UniqueFileSearch search(
        FindFirstFileW((wideFolder + std::wstring(kTemporaryPrefix) + L"*.tmp").c_str(), &found));
    if (!search) return;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            !isTemporaryName(found.cFileName))
            continue;
        const NativeFile left(reinterpret_cast<intptr_t>(
            CreateFileW((wideFolder + found.cFileName).c_str(), DELETE | FILE_WRITE_ATTRIBUTES, 0,
                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
        if (left) deleteWhenClosed(asHandle(left.get()));
    } while (FindNextFileW(search.get(), &found));
}

// Named from the process, the moment and the attempt; a name that is taken
// is tried again with the next.
bool createTemporary(const std::string& folder, TemporaryFile& made) {
    const std::wstring wideFolder = toWide(folder);
    for (unsigned attempt = 0; attempt < 64; ++attempt) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        const unsigned stamp =
            GetCurrentProcessId() * 7919u + static_cast<unsigned>(now.QuadPart) + attempt * 104729u;
        std::wstring name(kTemporaryPrefix);
        for (int shift = 28; shift >= 0; shift -= 4)
            name += L"0123456789abcdef"[(stamp >> shift) & 15];
        name += kTemporarySuffix;
        made.file.reset(reinterpret_cast<intptr_t>(
            CreateFileW((wideFolder + name).c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_NORMAL, nullptr)));
        if (made.file) {
            made.path = folder + fromWide(name);
            return true;
        }
        if (GetLastError() != ERROR_FILE_EXISTS) return false;
    }
    return false;
}

bool writeBytes(TemporaryFile& temporary, std::string_view bytes, int64_t) {
    return writeAll(handleOf(temporary), bytes);
}

// The mark is given through the handle before the rename, so the file
// appears in place already read-only.
bool finishTemporary(TemporaryFile& temporary, const std::string&, bool markReadOnly) {
    if (!FlushFileBuffers(handleOf(temporary))) return false;
    if (!markReadOnly) return true;
    FILE_BASIC_INFO readOnly{};
    readOnly.FileAttributes = FILE_ATTRIBUTE_READONLY;
    return SetFileInformationByHandle(handleOf(temporary), FileBasicInfo, &readOnly,
                                      sizeof readOnly) != 0;
}

Placement renameIntoPlace(TemporaryFile& temporary, const std::string& target) {
    const std::wstring wideTarget = toWide(target);
    // A read-only target cannot be replaced; it loses the mark first and gets
    // it back if the replacement fails.
    const DWORD oldAttributes = GetFileAttributesW(wideTarget.c_str());
    const bool wasReadOnly =
        oldAttributes != INVALID_FILE_ATTRIBUTES && (oldAttributes & FILE_ATTRIBUTE_READONLY);
    if (wasReadOnly)
        SetFileAttributesW(wideTarget.c_str(), oldAttributes & ~FILE_ATTRIBUTE_READONLY);
    const auto holdOnTarget = [&](DWORD error) { return isHoldOn(wideTarget, error); };
    if (!retryWhileHeld([&] { return renameOnto(handleOf(temporary), wideTarget); },
                        holdOnTarget)) {
        const DWORD code = GetLastError();
        const bool held = holdOnTarget(code);
        if (wasReadOnly) SetFileAttributesW(wideTarget.c_str(), oldAttributes);
        SetLastError(code);
        return held ? Placement::Held : Placement::Refused;
    }
    // Written through: the new name reaches the disk before the replace is reported done.
    FlushFileBuffers(handleOf(temporary));
    temporary.file.reset();
    return Placement::Done;
}

void discardTemporary(TemporaryFile& temporary) {
    deleteWhenClosed(handleOf(temporary));
    temporary.file.reset();
}

// Each rename was flushed through the renamed file's own handle
// (renameIntoPlace), which commits the new name with it.
void flushFolder(const std::string&) {}

} // namespace plaxet::platform
