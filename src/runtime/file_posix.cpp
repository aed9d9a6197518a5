// The file primitives on POSIX systems.
#include "runtime/file_platform.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plaxet::platform {
namespace {

std::string describeErrno(int error) {
    return std::strerror(error);
}

bool isSeparator(char c) {
    return c == '/' || c == '\\';
}

std::string folderOf(const std::string& path) {
    size_t at = path.find_last_of("/\\");
    if (at == std::string::npos) return ".";
    return at == 0 ? "/" : path.substr(0, at);
}

// A long file handed over in pieces is sent on to the disk every this many
// bytes, so that the final flush has little left to wait for.
constexpr off_t kFlushAhead = off_t{4} << 20;

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

// Removes the temporary files that killed runs left in the folder; those of
// saves still under way are locked and stay.
void removeLeftOverTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name.size() != kTemporaryNameLength || !name.starts_with(kTemporaryPrefix)) continue;
        const std::string full = folder + "/" + std::string(name);
        const int fd = ::open(full.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st {};
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
            ::unlink(full.c_str());
        ::close(fd);
    }
    ::closedir(dir);
}

// Creates and locks a new temporary file in the folder. A file another save's
// clean-up removed between its creation and the lock is given up for a new one.
int createLockedTemporary(const std::string& folder, std::string& path) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        path = folder + "/" + std::string(kTemporaryPrefix) + "XXXXXX";
        const int fd = ::mkostemp(path.data(), O_CLOEXEC);
        if (fd < 0) return -1;
        struct stat opened {};
        struct stat named {};
        if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &opened) == 0 &&
            ::stat(path.c_str(), &named) == 0 && opened.st_ino == named.st_ino &&
            opened.st_dev == named.st_dev)
            return fd;
        ::close(fd);
    }
    errno = EAGAIN;
    return -1;
}

// Makes a rename in the folder last through a power cut. Failing to is not a
// failure of the save: the new content is in place either way.
void flushFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// The new contents of one file of a replace, in a locked temporary file
// beside it until they are put in place. The temporary file is removed when
// this goes out of scope without having been put in place, so neither a
// failure nor a producer that throws leaves one behind.
class PendingFile {
  public:
    explicit PendingFile(const FileReplacement& file) : file_(file) {}
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile() {
        if (fd_ < 0) return;
        ::unlink(temporary_.c_str());
        ::close(fd_);
    }

    // Creates the temporary file and writes the contents into it.
    bool write(std::string& error) {
        const std::string& path = file_.path;
        if (path.empty() || isSeparator(path.back())) {
            error = "not a file name: " + path;
            return false;
        }
        fd_ = createLockedTemporary(folderOf(path), temporary_);
        if (fd_ < 0) {
            error = "cannot write in the folder of " + path + ": " + describeErrno(errno);
            return false;
        }
        struct stat old {};
        mode_ = ::stat(path.c_str(), &old) == 0 ? ((old.st_mode & 07777) | S_IWUSR) : 0644;
        if (file_.markReadOnly) mode_ &= ~mode_t{0222};

        bool sinkFailed = false;
        int writeError = 0;
        off_t bytesWritten = 0, flushStarted = 0;
        const ContentSink sink = [&](std::string_view piece) {
            if (!sinkFailed && !writeAll(fd_, piece)) {
                sinkFailed = true;
                writeError = errno;
            }
            bytesWritten += static_cast<off_t>(piece.size());
            if (!sinkFailed && bytesWritten - flushStarted >= kFlushAhead) {
                // Only a hint (the flush reports any failure): the disk
                // starts on what is complete while the rest is still being made.
                ::sync_file_range(fd_, flushStarted, bytesWritten - flushStarted,
                                  SYNC_FILE_RANGE_WRITE);
                flushStarted = bytesWritten;
            }
            return !sinkFailed;
        };
        file_.produce(sink);
        if (sinkFailed) {
            error = "cannot write " + path + ": " + describeErrno(writeError);
            return false;
        }
        return true;
    }

    // Waits until the contents are on the disk, and gives the file its permissions.
    bool flush(std::string& error) {
        if (::fsync(fd_) == 0 && ::fchmod(fd_, mode_) == 0) return true;
        error = "cannot write " + file_.path + ": " + describeErrno(errno);
        return false;
    }

    // The rename happens while the lock is held, so no clean-up can take the
    // file away in between; the flush has already reported any error that
    // closing could.
    bool putInPlace(std::string& error) {
        if (::rename(temporary_.c_str(), file_.path.c_str()) != 0) {
            error = "cannot replace " + file_.path + ": " + describeErrno(errno);
            return false;
        }
        ::close(fd_);
        fd_ = -1;
        return true;
    }

  private:
    const FileReplacement& file_;
    std::string temporary_;
    int fd_ = -1;
    mode_t mode_ = 0644;
};

} // namespace

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

ReplaceResult replaceFiles(const std::vector<FileReplacement>& files) {
    ReplaceResult result;
    std::deque<PendingFile> pending; // they stay where they are made
    std::vector<std::string> folders;
    for (const FileReplacement& file : files) {
        const std::string folder = folderOf(file.path);
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
            removeLeftOverTemporaries(folder);
            folders.push_back(folder);
        }
        if (!pending.emplace_back(file).write(result.error)) return result;
    }
    for (PendingFile& file : pending)
        if (!file.flush(result.error)) return result;
    bool allInPlace = true;
    for (PendingFile& file : pending)
        if (!(allInPlace = file.putInPlace(result.error))) break;
    for (const std::string& folder : folders) flushFolder(folder);
    result.ok = allInPlace;
    return result;
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

} // namespace plaxet::platform
