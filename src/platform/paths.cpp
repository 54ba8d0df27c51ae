#include "platform/paths.h"

#include <utility>

#ifdef _WIN32
#include "platform/win32.h"
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
    // A name that fills the buffer may have been cut: try again with more room.
    for (DWORD size = MAX_PATH + 1; size <= 32768 && exe.empty(); size *= 2) {
        std::string buffer(size, '\0');
        DWORD n = GetModuleFileNameA(nullptr, buffer.data(), size);
        if (n == 0) break;
        if (n < size) exe.assign(buffer.data(), n);
    }
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
