#pragma once
// A lock that every process on the computer shares: an exclusive hold on a
// lock file, taken by waiting and given back when its owner goes out of
// scope or the process ends (killed or not; the system lets go of a dead
// process's hold). Whoever holds it may read, change and replace the files
// it guards without another Plaxet process (a window, plaxet-cli, another
// user's run) doing the same meanwhile. POSIX: flock on the file; Windows:
// LockFileEx on its first byte.
#include "runtime/unique_handle.h"

#include <cstdint>
#include <string>

namespace plaxet {

void releaseMachineLock(intptr_t handle);
struct MachineLockRelease {
    void operator()(intptr_t handle) const { releaseMachineLock(handle); }
};
// -1 is both a failed descriptor and INVALID_HANDLE_VALUE.
struct NoMachineLock {
    static constexpr intptr_t value() { return -1; }
};
// The held lock: the open lock file, locked.
using MachineLock = UniqueHandle<intptr_t, MachineLockRelease, NoMachineLock>;

struct MachineLockResult {
    MachineLock lock;
    std::string error; // why no lock could be taken, naming the file
};

// Opens (creating it when missing, writable by every user) the lock file at
// `path` and waits until this process holds it alone.
MachineLockResult takeMachineLock(const std::string& path);

} // namespace plaxet
