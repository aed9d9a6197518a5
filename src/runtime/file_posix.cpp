// The file primitives on POSIX systems.
#include "runtime/file_platform.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plaxet::platform {
namespace {

bool isSeparator(char c) {
    return c == '/' || c == '\\';
}

// A file is sent on to the disk whenever this many more bytes of it have
// been written, so that the disk works on it while the next document is
// made, and the flushes before the renames have little left to wait for.
constexpr off_t kFlushAhead = off_t{64} << 10;

bool writeAll(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// The read-only mark is the absence of every write permission. It is honoured
// even where the process could write regardless (as root does).
bool markedReadOnly(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 0222) == 0;
}

// Temporary files of a replace are named this prefix and six more characters.
// Their writer holds an exclusive lock on them until they have been renamed
// into place, and the system drops the lock of a process that dies, so a
// temporary file that can be locked was left behind by a run that was killed.
// Earlier versions named theirs ".plaxet-" and did not lock them, so those
// are never taken: one may be another program's save under way.
constexpr std::string_view kTemporaryPrefix = ".plaxet~";
constexpr size_t kTemporaryNameLength = kTemporaryPrefix.size() + 6;

int descriptorOf(const TemporaryFile& temporary) {
    return static_cast<int>(temporary.file.get());
}

// The folder part as the system takes it: the current folder for none.
std::string folderText(const std::string& folder) {
    return folder.empty() ? std::string(".") : folder;
}

} // namespace

std::string lastErrorText() {
    return std::strerror(errno);
}

NativeFile openForReading(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        struct stat st {};
        if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
            ::close(fd);
            fd = -1;
        }
    }
    return NativeFile(fd);
}

void closeHandle(intptr_t handle) {
    ::close(static_cast<int>(handle));
}

int64_t readBytes(intptr_t handle, char* buffer, int64_t count) {
    int64_t done = 0;
    while (done < count) {
        ssize_t n =
            ::read(static_cast<int>(handle), buffer + done, static_cast<size_t>(count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return -1;
        if (n == 0) break;
        done += n;
    }
    return done;
}

int64_t lengthOf(intptr_t handle) {
    struct stat st {};
    return ::fstat(static_cast<int>(handle), &st) == 0 ? st.st_size : 0;
}

const char* mapForReading(intptr_t handle, int64_t length) {
    void* mapped = ::mmap(nullptr, static_cast<size_t>(length), PROT_READ, MAP_PRIVATE,
                          static_cast<int>(handle), 0);
    return mapped == MAP_FAILED ? nullptr : static_cast<const char*>(mapped);
}

void unmapFile(const char* bytes, int64_t length) {
    ::munmap(const_cast<char*>(bytes), static_cast<size_t>(length));
}

EntryKind entryKind(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return EntryKind::Missing;
    if (S_ISDIR(st.st_mode)) return EntryKind::Folder;
    return S_ISREG(st.st_mode) ? EntryKind::File : EntryKind::Missing;
}

bool setAttributes(const std::string& path, int attributes) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    mode_t mode = st.st_mode & 07777;
    mode = (attributes & kAttrReadOnly) ? (mode & ~mode_t{0222}) : (mode | S_IWUSR);
    return ::chmod(path.c_str(), mode) == 0;
}

bool removeFile(const std::string& path) {
    // Write permission on the folder is what deletion needs; the file's own mark does not matter.
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool isReadOnly(const std::string& path) {
    return markedReadOnly(path);
}

bool createFolder(const std::string& path) {
    std::string partial;
    for (size_t i = 0; i < path.size(); ++i) {
        partial += isSeparator(path[i]) ? '/' : path[i];
        if ((isSeparator(path[i]) || i + 1 == path.size()) && partial.size() > 1)
            if (::mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    return entryKind(path) == EntryKind::Folder;
}

bool heldByAnotherProgram(const std::string&) {
    return false; // a rename replaces a file whoever holds it open
}

// Those of saves still under way are locked and stay.
void removeLeftOverTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folderText(folder).c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name.size() != kTemporaryNameLength || !name.starts_with(kTemporaryPrefix)) continue;
        const std::string full = folder + std::string(name);
        const NativeFile left(::open(full.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (!left) continue;
        const int fd = static_cast<int>(left.get());
        struct stat st {};
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
            ::unlink(full.c_str());
    }
    ::closedir(dir);
}

// The file is locked as soon as it is made. One that another save's clean-up
// removed between its creation and the lock is given up for a new one.
bool createTemporary(const std::string& folder, TemporaryFile& made) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        made.path = folder + std::string(kTemporaryPrefix) + "XXXXXX";
        made.file.reset(::mkostemp(made.path.data(), O_CLOEXEC));
        if (!made.file) return false;
        const int fd = descriptorOf(made);
        struct stat opened {};
        struct stat named {};
        if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &opened) == 0 &&
            ::stat(made.path.c_str(), &named) == 0 && opened.st_ino == named.st_ino &&
            opened.st_dev == named.st_dev)
            return true;
        made.file.reset();
    }
    errno = EAGAIN;
    return false;
}

bool writeBytes(TemporaryFile& temporary, std::string_view bytes, int64_t written) {
    if (!writeAll(descriptorOf(temporary), bytes)) return false;
    const auto end = static_cast<off_t>(written + static_cast<int64_t>(bytes.size()));
    // Only a hint (the flush reports any failure): the disk starts on what
    // is complete while the rest is still being made.
    if (end / kFlushAhead != static_cast<off_t>(written) / kFlushAhead)
        ::sync_file_range(descriptorOf(temporary), 0, end, SYNC_FILE_RANGE_WRITE);
    return true;
}

// The new file keeps the old one's permissions, and can be written by its
// owner unless it is to be marked read-only.
bool finishTemporary(TemporaryFile& temporary, const std::string& target, bool markReadOnly) {
    struct stat old {};
    mode_t mode = ::stat(target.c_str(), &old) == 0 ? ((old.st_mode & 07777) | S_IWUSR) : 0644;
    if (markReadOnly) mode &= ~mode_t{0222};
    return ::fsync(descriptorOf(temporary)) == 0 && ::fchmod(descriptorOf(temporary), mode) == 0;
}

// The rename happens while the lock is held, so no clean-up can take the
// file away in between; the flush has already reported any error that
// closing could. An open target is replaced all the same.
Placement renameIntoPlace(TemporaryFile& temporary, const std::string& target) {
    if (::rename(temporary.path.c_str(), target.c_str()) != 0) return Placement::Refused;
    temporary.file.reset();
    return Placement::Done;
}

// Removed while still locked, so no other run's clean-up meets it half gone.
void discardTemporary(TemporaryFile& temporary) {
    ::unlink(temporary.path.c_str());
    temporary.file.reset();
}

void flushFolder(const std::string& folder) {
    const NativeFile opened(::open(folderText(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (opened) ::fsync(static_cast<int>(opened.get()));
}

} // namespace plaxet::platform
