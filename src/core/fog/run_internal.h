#pragma once
// What the run and the restore share while they work on a route: where its textures are, which of
// its folders lie behind a link, and reporting a step. Included by their sources only.
#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "core/fog/restore.h"
#include "core/fog/run_record.h"
#include "core/platform/files.h"
#include "core/platform/paths.h"

namespace fog {

// <installRoot>/Routes/<route>/Envfiles/Textures
inline std::string TexturesFolder(std::string_view installRoot, std::string_view route) {
    return platform::JoinPath(RouteEnvFolder(installRoot, route), "Textures");
}

// The folder part of a file's location.
inline std::string FolderOf(const std::string& location) {
    return location.substr(0, location.find_last_of("/\\"));
}

// Which of a route's folders a link inside the route leads to, each looked at once: a route's
// thousands of activities lie in a few folders.
class LinkedFolders {
  public:
    explicit LinkedFolders(std::string routeFolder) : routeFolder_(std::move(routeFolder)) {}
    bool Linked(const std::string& folder) {
        const auto [known, added] = linked_.try_emplace(folder, false);
        if (added) known->second = platform::ReachedThroughLink(routeFolder_, folder);
        return known->second;
    }

  private:
    std::string routeFolder_;
    std::map<std::string, bool> linked_;
};

inline void Report(const StepHook& hook, Step step, std::size_t index) {
    if (hook) hook(step, index);
}

}  // namespace fog
