#include "platform/registry.h"

namespace platform {

// There is no registry here, so the installation is never found through it.
std::optional<std::string> ReadLocalMachineString(std::string_view, std::string_view) {
    return std::nullopt;
}

}  // namespace platform
