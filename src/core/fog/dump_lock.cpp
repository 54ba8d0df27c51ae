#include "core/fog/dump_lock.h"

#include "core/platform/lock.h"
#include "core/platform/paths.h"

namespace fog {

std::string DumpLockPath() {
    return platform::DumpPath("Bezet.lck");
}

DumpClaim TryClaimDumpFolder() {
    switch (platform::HoldFileLock(DumpLockPath())) {
        case platform::LockState::HeldElsewhere:
            return DumpClaim::InUse;
        case platform::LockState::NotAFile:
            return DumpClaim::LockNotAFile;
        case platform::LockState::Held:
        case platform::LockState::Unavailable:
            break;
    }
    return DumpClaim::Claimed;
}

bool ClaimDumpFolder() {
    return TryClaimDumpFolder() == DumpClaim::Claimed;
}

}  // namespace fog
