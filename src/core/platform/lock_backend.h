#pragma once
// What each system's lock backend (lock_linux.cpp, lock_win.cpp) gives the shared registry of
// held locks in lock.cpp.
#include <cstdint>
#include <string>

#include "core/platform/lock.h"

namespace platform::lockbackend {

// An open, locked file: the system's handle and what identifies the file on disk.
struct Opened {
    std::intptr_t handle = -1;
    std::uint64_t device = 0;
    std::uint64_t file = 0;
};

// Opens `path` (created when missing) without following a link or waiting on it, checks that it
// is a regular file and locks it for this process. `Held` fills `opened`; every other state
// leaves nothing open.
LockState OpenAndLock(const std::string& path, Opened& opened);

// Whether the name still leads to the file that is held (it may have been removed or replaced).
bool StillNamed(const std::string& path, const Opened& opened);

// Closes a held file, which drops its lock.
void Close(const Opened& opened);

}  // namespace platform::lockbackend
