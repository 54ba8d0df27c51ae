// Windows side of the fixtures: no FIFOs, immutable flag or mounts to plant; the hidden
// attribute, which Windows keeps apart from the name.
#include <cstdlib>
#include <utility>

#include "core/platform/win32.h"
#include "support/fixtures.h"

namespace testsupport {

void SetEnv(const std::string& name, const char* value) {
    _putenv_s(name.c_str(), value ? value : "");
}

bool MakeFifo(const fs::path&) {
    return false;
}

FifoWatchdog::FifoWatchdog(std::vector<fs::path> fifos, int) : fifos_(std::move(fifos)) {}

FifoWatchdog::~FifoWatchdog() = default;

bool SetImmutable(const fs::path&, bool) {
    return false;
}

bool MountSmallFileSystem(const fs::path&) {
    return false;
}

void Unmount(const fs::path&) {}

bool SetHiddenAttribute(const fs::path& path) {
    const std::string name = path.string();
    return SetFileAttributesA(name.c_str(),
                              GetFileAttributesA(name.c_str()) | FILE_ATTRIBUTE_HIDDEN);
}

}  // namespace testsupport
