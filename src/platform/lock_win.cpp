#include "platform/win32.h"

#include <mutex>
#include <string>
#include <vector>

#include "platform/lock.h"

namespace platform {

namespace {

// The file is held open without sharing: no other process can open, rename or delete it until
// this one ends, when the system closes the handle.
struct HeldLock {
    std::string path;
    HANDLE handle;
};

std::mutex& LocksMutex() {
    static std::mutex m;
    return m;
}

std::vector<HeldLock>& Locks() {
    static std::vector<HeldLock> locks;
    return locks;
}

}  // namespace

LockState HoldFileLock(std::string_view requested) {
    const std::string path(requested);
    const std::lock_guard guard(LocksMutex());
    for (const HeldLock& held : Locks()) {
        if (held.path == path) return LockState::Held;
    }
    // Not inheritable (no security attributes), so programs started from here do not hold it.
    // A link is opened as itself, never followed.
    const HANDLE handle =
        ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
            return LockState::HeldElsewhere;
        // A folder under the name refuses the open; it is not a folder without locks.
        const DWORD attributes = ::GetFileAttributesA(path.c_str());
        const bool other =
            attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0;
        return other ? LockState::NotAFile : LockState::Unavailable;
    }
    const bool disk = ::GetFileType(handle) == FILE_TYPE_DISK;
    BY_HANDLE_FILE_INFORMATION info{};
    if (disk && !::GetFileInformationByHandle(handle, &info)) {
        ::CloseHandle(handle);
        return LockState::Unavailable;
    }
    if (!disk ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
        ::CloseHandle(handle);
        return LockState::NotAFile;
    }
    Locks().push_back({path, handle});
    return LockState::Held;
}

}  // namespace platform
