// The machine-wide lock on POSIX systems: flock on an open lock file.
#include "runtime/machine_lock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plaxet {

void releaseMachineLock(intptr_t handle) {
    // Closing the descriptor lets go of the lock.
    ::close(static_cast<int>(handle));
}

MachineLockResult takeMachineLock(const std::string& path) {
    MachineLockResult result;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        result.error = "cannot open the lock file " + path + ": " + std::strerror(errno);
        return result;
    }
    MachineLock lock(fd);
    // Another user's run must be able to take the lock too; the umask
    // would otherwise keep them out. Where the file is another user's this
    // fails harmlessly.
    ::fchmod(fd, 0666);
    int locked;
    do {
        locked = ::flock(fd, LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        result.error = "cannot lock " + path + ": " + std::strerror(errno);
        return result;
    }
    result.lock = std::move(lock);
    return result;
}

} // namespace plaxet
