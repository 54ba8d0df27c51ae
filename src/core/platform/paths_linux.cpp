#include <unistd.h>

#include <climits>

#include "core/platform/paths_internal.h"

namespace platform {

std::string ExecutablePath() {
    std::string buffer(PATH_MAX, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= buffer.size()) return {};
    buffer.resize(static_cast<std::size_t>(n));
    return buffer;
}

}  // namespace platform
