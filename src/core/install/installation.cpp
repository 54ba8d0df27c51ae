#include "core/install/installation.h"

#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "core/platform/registry.h"

namespace install {

namespace {

constexpr char kOpenRailsFolders[] = "Software\\OpenRails\\ORTS\\Folders";

bool HoldsRoute(const std::string& folder) {
    // Asking for folders still returns plain files, which do not count.
    for (const platform::FileEntry& entry :
         platform::FindFiles(platform::JoinPath(platform::JoinPath(folder, "Routes"), "*.*"),
                             platform::FileAttr::Directory)) {
        if (entry.IsDirectory()) return true;
    }
    return false;
}

}  // namespace

bool TrainExeMissing(const std::string& path) {
    return !platform::AnyFileMatches(path);
}

Installation FindInstallation(const std::string& folder) {
    if (!TrainExeMissing(platform::JoinPath(folder, "train.exe"))) return Installation::Simulator;
    return HoldsRoute(folder) ? Installation::ContentFolder : Installation::None;
}

bool IsContentFolder(const std::string& folder) {
    return FindInstallation(folder) == Installation::ContentFolder;
}

std::vector<Profile> OpenRailsProfiles() {
    std::vector<Profile> profiles;
    for (const platform::RegistryString& value :
         platform::ReadCurrentUserStrings(kOpenRailsFolders)) {
        const std::optional<std::string> folder = platform::RegisteredFolderOnHost(value.value);
        if (folder && !folder->empty() && HoldsRoute(*folder))
            profiles.push_back({value.name, *folder});
    }
    return profiles;
}

}  // namespace install
