// The machine-wide lock on Windows: LockFileEx on the first byte of an open
// lock file, shared for reading and writing so that every process can open it.
#include "runtime/machine_lock.h"

#include "runtime/wide.h"

#include <windows.h>

namespace plaxet {
namespace {

std::string systemMessage(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length && text ? std::wstring(text, length) : std::wstring();
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' ||
                                message.back() == L'.' || message.back() == L' '))
        message.pop_back();
    return message.empty() ? "error " + std::to_string(code) : fromWide(message);
}

} // namespace

void releaseMachineLock(intptr_t handle) {
    // Closing the handle lets go of the lock.
    CloseHandle(reinterpret_cast<HANDLE>(handle));
}

MachineLockResult takeMachineLock(const std::string& path) {
    MachineLockResult result;
    // Another program may hold the file for a moment (a scanner); try again
    // for about a second before giving up.
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 20; ++attempt) {
        file = CreateFileW(toWide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION) break;
        Sleep(50);
    }
    if (file == INVALID_HANDLE_VALUE) {
        result.error = "cannot open the lock file " + path + ": " + systemMessage(GetLastError());
        return result;
    }
    MachineLock lock(reinterpret_cast<intptr_t>(file));
    OVERLAPPED at{};
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at)) {
        result.error = "cannot lock " + path + ": " + systemMessage(GetLastError());
        return result;
    }
    result.lock = std::move(lock);
    return result;
}

} // namespace plaxet
