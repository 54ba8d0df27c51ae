#include "core/platform/paths.h"

#include <utility>

#include "core/platform/paths_internal.h"

namespace platform {

namespace {

std::string& FolderSlot() {
    static std::string folder;
    return folder;
}

std::string WithTrailingSep(std::string folder) {
    if (folder.empty() || folder.back() != kPathSep) folder += kPathSep;
    return folder;
}

std::string ExecutableFolder() {
    const std::string exe = ExecutablePath();
    std::string::size_type cut = exe.find_last_of(kPathSep);
    // Without a known executable the working folder is the best remaining guess.
    if (cut == std::string::npos) return std::string(".") + kPathSep;
    return exe.substr(0, cut + 1);
}

}  // namespace

std::string JoinPath(std::string_view a, std::string_view b) {
    std::string joined;
    joined.reserve(a.size() + 1 + b.size());
    joined.append(a);
    joined += kPathSep;
    joined.append(b);
    return joined;
}

const std::string& ProgramFolder() {
    std::string& folder = FolderSlot();
    if (folder.empty()) folder = ExecutableFolder();
    return folder;
}

void SetProgramFolder(std::string folder) {
    FolderSlot() = WithTrailingSep(std::move(folder));
}

std::string DumpPath(std::string_view relative) {
    std::string path = ProgramFolder() + "Dump";
    if (!relative.empty()) path = JoinPath(path, relative);
    return path;
}

}  // namespace platform
