#include <cstdlib>
#include <string>

#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "core/platform/registry.h"
#include "core/platform/registry_file.h"

namespace platform {

namespace {

// The compatibility layer's prefix, where it keeps the Windows programs' registry and drives.
std::string Prefix() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix) return prefix;
    const char* home = std::getenv("HOME");
    return JoinPath(home ? home : "", ".wine");
}

}  // namespace

// There is no registry here, so the installation is never found through it.
std::optional<std::string> ReadLocalMachineString(std::string_view, std::string_view) {
    return std::nullopt;
}

std::vector<RegistryString> ReadCurrentUserStrings(std::string_view key) {
    while (!key.empty() && key.front() == '\\') key.remove_prefix(1);
    while (!key.empty() && key.back() == '\\') key.remove_suffix(1);
    const std::optional<std::string> file =
        ReadFileUpTo(JoinPath(Prefix(), "user.reg"), kMaxRegistryFileSize);
    if (!file) return {};
    return ParseRegistryStrings(*file, key);
}

std::optional<std::string> RegisteredFolderOnHost(const std::string& folder) {
    return HostFolderInPrefix(Prefix(), folder);
}

}  // namespace platform
