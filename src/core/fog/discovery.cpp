#include "core/fog/discovery.h"

#include "core/platform/files.h"

namespace fog {

std::vector<std::string> HandledSlots(const std::array<std::string, 4>& names, bool multiFileMode) {
    std::vector<std::string> handled;
    for (const std::string& name : names) {
        if (!name.empty()) handled.push_back(name);
        if (!multiFileMode) break;
    }
    return handled;
}

bool EnvFolderFound(std::string_view envFolder) {
    return platform::FindFirst(envFolder, platform::FileAttr::Directory).has_value();
}

EnvFiles FindEnvFiles(std::string_view envFolder, Weather weather) {
    const SearchPatterns patterns = PatternsFor(weather);
    EnvFiles found;
    if (auto first = platform::FindFirst(std::string(envFolder).append(patterns.first),
                                         platform::FileAttr::AnyFileButFolder)) {
        found.names[0] = first->name;
        return found;
    }
    const auto broad = platform::FindFiles(std::string(envFolder).append(patterns.broad),
                                           platform::FileAttr::AnyFileButFolder);
    if (broad.empty()) {
        found.missing = true;
        return found;
    }
    found.multiFileMode = true;
    for (std::size_t i = 0; i < broad.size() && i < found.names.size(); ++i) {
        found.names[i] = broad[i].name;
    }
    return found;
}

}  // namespace fog
