#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/lock.h"

namespace platform {

namespace {

// flock() belongs to the open file, not to the process as fcntl() locks do: opening and closing
// the same file elsewhere in the program cannot drop it.
struct HeldLock {
    std::string path;
    int fd;
    dev_t device;
    ino_t inode;
};

std::mutex& LocksMutex() {
    static std::mutex m;
    return m;
}

std::vector<HeldLock>& Locks() {
    static std::vector<HeldLock> locks;
    return locks;
}

// The file as it is spelled on disk, or, while it does not exist, its folder as spelled on disk.
std::string OnDiskPath(std::string_view requested) {
    std::string path = ResolvePath(requested);
    if (path != requested) return path;
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0) return path;
    return ResolvePath(path.substr(0, slash)) + path.substr(slash);
}

}  // namespace

LockState HoldFileLock(std::string_view requested) {
    const std::string path = OnDiskPath(requested);
    const std::lock_guard guard(LocksMutex());
    auto& locks = Locks();
    struct stat onDisk {};
    const bool exists = ::lstat(path.c_str(), &onDisk) == 0;
    for (auto it = locks.begin(); it != locks.end(); ++it) {
        if (it->path != path) continue;
        if (exists && onDisk.st_dev == it->device && onDisk.st_ino == it->inode) {
            return LockState::Held;
        }
        // The file was removed or replaced: the lock no longer guards the name. Take it anew.
        ::close(it->fd);
        locks.erase(it);
        break;
    }
    // Non-blocking, so a FIFO planted under the name cannot hang the program; not followed
    // through a link; closed on exec, so a program started from here does not keep it alive.
    const int fd =
        ::open(path.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) {
        // A link or a folder under the name refuses the open; it is not a folder without locks.
        struct stat named {};
        const bool other = ::lstat(path.c_str(), &named) == 0 && !S_ISREG(named.st_mode);
        return other ? LockState::NotAFile : LockState::Unavailable;
    }
    struct stat opened {};
    if (::fstat(fd, &opened) != 0) {
        ::close(fd);
        return LockState::Unavailable;
    }
    if (!S_ISREG(opened.st_mode)) {
        ::close(fd);
        return LockState::NotAFile;
    }
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const bool busy = errno == EWOULDBLOCK;
        ::close(fd);
        return busy ? LockState::HeldElsewhere : LockState::Unavailable;
    }
    locks.push_back({path, fd, opened.st_dev, opened.st_ino});
    return LockState::Held;
}

}  // namespace platform
