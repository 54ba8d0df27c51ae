#include "mist/dump_lock.h"

#include "platform/lock.h"
#include "platform/paths.h"

namespace mist {

std::string DumpLockPath() { return platform::DumpPath("Bezet.lck"); }

bool ClaimDumpFolder() {
    return platform::HoldFileLock(DumpLockPath()) != platform::LockState::HeldElsewhere;
}

}  // namespace mist
