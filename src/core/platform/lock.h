#pragma once
// A lock on a file that marks it as taken by this process. The system drops it when the process
// ends, however it ends (a crash or a kill included), so a copy of the program that died never
// leaves it stuck.
#include <string_view>

namespace platform {

enum class LockState {
    Held,           // this process holds it (taken now or earlier)
    HeldElsewhere,  // another process holds it
    NotAFile,       // the name holds something other than a regular file: a link (dangling or
                    // not), a folder, a FIFO, a device. It is never opened through or waited on.
    Unavailable,    // the file cannot be made, opened or locked (a read-only folder, no locking)
};

// Takes the lock on `path`, creating the file if needed, and keeps it for the rest of the
// process; a later call confirms it. Never waits for another holder. The lock is not handed to
// programs this process starts.
LockState HoldFileLock(std::string_view path);

}  // namespace platform
