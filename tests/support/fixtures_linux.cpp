// Linux side of the fixtures: FIFOs, the immutable flag and mounts, which tests plant to see that
// the program neither waits on them nor is stopped by them.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <utility>

#include "support/fixtures.h"

namespace testsupport {

void SetEnv(const std::string& name, const char* value) {
    if (value) {
        ::setenv(name.c_str(), value, 1);
    } else {
        ::unsetenv(name.c_str());
    }
}

bool MakeFifo(const fs::path& path) {
    fs::create_directories(path.parent_path());
    if (::mkfifo(path.c_str(), 0666) != 0) throw std::runtime_error("cannot make " + path.string());
    return true;
}

FifoWatchdog::FifoWatchdog(std::vector<fs::path> fifos, int seconds) : fifos_(std::move(fifos)) {
    thread_ = std::thread([this, seconds] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (!stop_ && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        while (!stop_) {
            fired_ = true;
            // Succeeds only while a reader has it open, and the close then gives that reader
            // the end of the file.
            for (const fs::path& fifo : fifos_) {
                const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0) ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
}

FifoWatchdog::~FifoWatchdog() {
    stop_ = true;
    thread_.join();
}

bool SetImmutable(const fs::path& path, bool on) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return ok;
}

bool MountSmallFileSystem(const fs::path& folder) {
    return ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") == 0;
}

void Unmount(const fs::path& folder) {
    ::umount2(folder.c_str(), MNT_DETACH);
}

// Linux has no hidden attribute: a name starting with '.' is what hides an entry.
bool SetHiddenAttribute(const fs::path&) {
    return false;
}

}  // namespace testsupport
