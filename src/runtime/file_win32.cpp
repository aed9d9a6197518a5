// The file primitives on Windows, through the wide-character API.
#include "runtime/file_platform.h"

#include "runtime/wide.h"
#include "runtime/win32_owners.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <memory>
#include <vector>
#include <windows.h>

namespace plaxet::platform {
namespace {

HANDLE asHandle(intptr_t h) {
    return reinterpret_cast<HANDLE>(h);
}

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

std::wstring folderOf(const std::wstring& path) {
    size_t at = path.find_last_of(L"\\/:");
    if (at == std::wstring::npos) return L".";
    return path.substr(0, path[at] == L':' ? at + 1 : at);
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

std::wstring inFolder(const std::wstring& folder, std::wstring_view name) {
    const wchar_t last = folder.empty() ? L'\\' : folder.back();
    const bool separated = last == L'\\' || last == L'/' || last == L':';
    return folder + (separated ? L"" : L"\\") + std::wstring(name);
}

// Removes the temporary files that killed runs left in the folder. Each is
// opened for deletion without sharing: one whose writer still holds it open
// cannot be, and stays.
void removeLeftOverTemporaries(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE first = FindFirstFileW(inFolder(folder, L"~plaxet-*.tmp").c_str(), &found);
    if (first == INVALID_HANDLE_VALUE) return;
    const UniqueFileSearch search(first);
    do {
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) continue;
        if (!isTemporaryName(found.cFileName)) continue;
        HANDLE left = CreateFileW(inFolder(folder, found.cFileName).c_str(), DELETE, 0, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (left != INVALID_HANDLE_VALUE) CloseHandle(left);
    } while (FindNextFileW(search.get(), &found));
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

// A temporary file of a replace, created anew in the target's folder and
// open for writing without sharing until it has been renamed into place
// through its own handle, so no other program (a second Plaxet clearing
// left-overs) can take it away meanwhile. It is deleted when it goes out of
// scope unless it was moved into place, so neither a failed write nor a
// producer that throws leaves one behind.
class TemporaryFile {
  public:
    explicit TemporaryFile(const std::wstring& folder) {
        for (unsigned attempt = 0; attempt < 64; ++attempt) {
            LARGE_INTEGER now;
            QueryPerformanceCounter(&now);
            const unsigned stamp = GetCurrentProcessId() * 7919u +
                                   static_cast<unsigned>(now.QuadPart) + attempt * 104729u;
            std::wstring name(kTemporaryPrefix);
            for (int shift = 28; shift >= 0; shift -= 4)
                name += L"0123456789abcdef"[(stamp >> shift) & 15];
            path_ = inFolder(folder, name + std::wstring(kTemporarySuffix));
            handle_ = CreateFileW(path_.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
            if (handle_ != INVALID_HANDLE_VALUE) return;
            path_.clear();
            if (GetLastError() != ERROR_FILE_EXISTS) return;
        }
    }
    ~TemporaryFile() {
        close();
        if (!path_.empty()) DeleteFileW(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE handle() const { return handle_; }
    void close() {
        if (isOpen()) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

    // Renames the still open file onto the full path `name` (the system
    // reads it as it reads any path, up to its terminating zero), replacing
    // the file there. The last error says why when it fails.
    bool renameOnto(const std::wstring& name) {
        // Zeroed: FileName[1] leaves room for the terminating zero.
        std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t));
        auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
        rename->ReplaceIfExists = TRUE;
        rename->RootDirectory = nullptr;
        rename->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
        std::memcpy(rename->FileName, name.data(), name.size() * sizeof(wchar_t));
        if (!SetFileInformationByHandle(handle_, FileRenameInfo, rename,
                                        static_cast<DWORD>(buffer.size())))
            return false;
        path_.clear(); // the file now has the target's name: nothing is left to delete
        return true;
    }

  private:
    std::wstring path_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// The new contents of one file of a replace, in a temporary file beside it
// until they are put in place.
class PendingFile {
  public:
    PendingFile(const FileReplacement& file, std::wstring target, const std::wstring& folder)
        : file_(file), target_(std::move(target)), temporary_(folder) {}

    bool write(std::string& error) {
        if (!temporary_.isOpen()) {
            error = "cannot write in the folder of " + file_.path + ": " + lastErrorText();
            return false;
        }
        bool sinkFailed = false;
        const ContentSink sink = [&](std::string_view piece) {
            if (!sinkFailed && !writeAll(temporary_.handle(), piece)) {
                sinkFailed = true;
                error = "cannot write " + file_.path + ": " + lastErrorText();
            }
            return !sinkFailed;
        };
        file_.produce(sink);
        return !sinkFailed;
    }

    bool flush(std::string& error) {
        if (FlushFileBuffers(temporary_.handle())) return true;
        error = "cannot write " + file_.path + ": " + lastErrorText();
        return false;
    }

    bool putInPlace(ReplaceResult& result) {
        // A read-only target cannot be replaced; it loses the mark first and
        // gets it back if the replacement fails.
        const DWORD oldAttributes = GetFileAttributesW(target_.c_str());
        const bool wasReadOnly =
            oldAttributes != INVALID_FILE_ATTRIBUTES && (oldAttributes & FILE_ATTRIBUTE_READONLY);
        if (wasReadOnly)
            SetFileAttributesW(target_.c_str(), oldAttributes & ~FILE_ATTRIBUTE_READONLY);
        const auto holdOnTarget = [&](DWORD error) { return isHoldOn(target_, error); };
        if (!retryWhileHeld([&] { return temporary_.renameOnto(target_); }, holdOnTarget)) {
            const DWORD code = GetLastError();
            const bool held = holdOnTarget(code);
            SetLastError(code);
            const std::string error = lastErrorText();
            if (wasReadOnly) SetFileAttributesW(target_.c_str(), oldAttributes);
            result.heldByAnotherProgram = held;
            result.error =
                held ? heldFileMessage(file_.path) : "cannot replace " + file_.path + ": " + error;
            return false;
        }
        // Written through: the new name reaches the disk before the replace is reported done.
        FlushFileBuffers(temporary_.handle());
        temporary_.close();
        if (file_.markReadOnly && !SetFileAttributesW(target_.c_str(), FILE_ATTRIBUTE_READONLY)) {
            result.error =
                file_.path + " was written but could not be marked read-only: " + lastErrorText();
            return false;
        }
        return true;
    }

  private:
    const FileReplacement& file_;
    std::wstring target_;
    TemporaryFile temporary_;
};

} // namespace

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

ReplaceResult replaceFiles(const std::vector<FileReplacement>& files) {
    ReplaceResult result;
    std::deque<PendingFile> pending; // they stay where they are made
    std::vector<std::wstring> folders;
    for (const FileReplacement& file : files) {
        const std::wstring target = toWide(file.path);
        if (target.empty()) {
            result.error = "not a file name: " + file.path;
            return result;
        }
        const std::wstring folder = folderOf(target);
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
            removeLeftOverTemporaries(folder);
            folders.push_back(folder);
        }
        if (!pending.emplace_back(file, target, folder).write(result.error)) return result;
    }
    for (PendingFile& file : pending)
        if (!file.flush(result.error)) return result;
    for (PendingFile& file : pending)
        if (!file.putInPlace(result)) return result;
    result.ok = true;
    return result;
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

} // namespace plaxet::platform
