#pragma once
// One copy of the program at a time per Dump folder. Two copies on the same folder would
// overwrite each other's backups and run record, so a copy claims the folder at start and keeps
// it until it ends; the fog run and the restore check the claim again before touching anything.
#include <string>

namespace fog {

// <prog>Dump/Bezet.lck: the file whose lock is the claim. Its contents do not matter.
std::string DumpLockPath();

enum class DumpClaim {
    Claimed,       // this process has it, or no one can have it (see below)
    InUse,         // another process holds it
    LockNotAFile,  // Bezet.lck is a link, a folder, a FIFO...: no one can tell whether it is free
};

// Claims the Dump folder for this process until it ends, or confirms the claim. A folder that
// offers no lock at all (read-only, a file system without locks) cannot be claimed by anyone and
// counts as free, as before there was a lock. A lock file that is not a regular file never does:
// left alone, it would let every copy start.
DumpClaim TryClaimDumpFolder();

// TryClaimDumpFolder() == Claimed.
bool ClaimDumpFolder();

}  // namespace fog
