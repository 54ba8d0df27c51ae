#include "core/platform/paths_internal.h"
#include "core/platform/win32.h"

namespace platform {

std::string ExecutablePath() {
    // A name that fills the buffer may have been cut: try again with more room.
    for (DWORD size = MAX_PATH + 1; size <= 32768; size *= 2) {
        std::string buffer(size, '\0');
        const DWORD n = GetModuleFileNameA(nullptr, buffer.data(), size);
        if (n == 0) break;
        if (n < size) return buffer.substr(0, n);
    }
    return {};
}

}  // namespace platform
