// Locks with flock(), which belongs to the open file, not to the process as fcntl() locks do:
// opening and closing the same file elsewhere in the program cannot drop it.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/platform/lock_backend.h"

namespace platform::lockbackend {

LockState OpenAndLock(const std::string& path, Opened& result) {
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
    result = {fd, static_cast<std::uint64_t>(opened.st_dev),
              static_cast<std::uint64_t>(opened.st_ino)};
    return LockState::Held;
}

bool StillNamed(const std::string& path, const Opened& opened) {
    struct stat onDisk {};
    return ::lstat(path.c_str(), &onDisk) == 0 &&
           static_cast<std::uint64_t>(onDisk.st_dev) == opened.device &&
           static_cast<std::uint64_t>(onDisk.st_ino) == opened.file;
}

void Close(const Opened& opened) {
    ::close(static_cast<int>(opened.handle));
}

}  // namespace platform::lockbackend
