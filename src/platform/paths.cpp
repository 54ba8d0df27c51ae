#include "platform/paths.h"

#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>

#include <climits>
#endif

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
    std::string exe;
#ifdef _WIN32
    char buffer[MAX_PATH + 1];
    DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    if (n > 0 && n <= MAX_PATH) exe.assign(buffer, n);
#else
    std::string buffer(PATH_MAX, '\0');
    ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n > 0 && static_cast<size_t>(n) < buffer.size()) exe.assign(buffer.data(), n);
#endif
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
