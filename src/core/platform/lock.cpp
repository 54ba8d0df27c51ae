#include "core/platform/lock.h"

#include <mutex>
#include <string>
#include <vector>

#include "core/platform/files.h"
#include "core/platform/lock_backend.h"
#include "core/platform/paths.h"

namespace platform {

namespace {

struct HeldLock {
    std::string path;
    lockbackend::Opened opened;
};

std::mutex& LocksMutex() {
    static std::mutex m;
    return m;
}

std::vector<HeldLock>& Locks() {
    static std::vector<HeldLock> locks;
    return locks;
}

// The file as it is spelled on disk, or, while it does not exist, its folder as spelled on disk:
// one name for one file, however the caller spells it.
std::string OnDiskPath(std::string_view requested) {
    std::string path = ResolvePath(requested);
    if (path != requested) return path;
    const std::size_t cut = path.rfind(kPathSep);
    if (cut == std::string::npos || cut == 0) return path;
    return ResolvePath(path.substr(0, cut)) + path.substr(cut);
}

}  // namespace

LockState HoldFileLock(std::string_view requested) {
    const std::string path = OnDiskPath(requested);
    const std::lock_guard guard(LocksMutex());
    auto& locks = Locks();
    for (auto it = locks.begin(); it != locks.end(); ++it) {
        if (it->path != path) continue;
        if (lockbackend::StillNamed(path, it->opened)) return LockState::Held;
        // The file was removed or replaced: the lock no longer guards the name. Take it anew.
        lockbackend::Close(it->opened);
        locks.erase(it);
        break;
    }
    lockbackend::Opened opened;
    const LockState state = lockbackend::OpenAndLock(path, opened);
    if (state == LockState::Held) locks.push_back({path, opened});
    return state;
}

}  // namespace platform
