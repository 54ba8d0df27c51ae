#pragma once
// What a folder holds for the program: the 2001 simulator (its train.exe), or, without it, an
// Open Rails content folder whose Routes folder holds a route. Plain C++, no windows.
#include <string>
#include <vector>

namespace install {

enum class Installation { None, Simulator, ContentFolder };

// Is there no file (of any attribute) at exactly this path?
bool TrainExeMissing(const std::string& path);

// The folder is used as given (stored or typed): a trailing separator stays, as in the train.exe
// probe. train.exe decides first; a folder without it needs a route folder under Routes (any
// letter case).
Installation FindInstallation(const std::string& folder);
bool IsContentFolder(const std::string& folder);

// One of Open Rails' installation profiles: its name and its folder as this system reaches it.
struct Profile {
    std::string name;
    std::string folder;
    bool operator==(const Profile&) const = default;
};

// The profiles Open Rails keeps in the registry, those whose folder holds a route, in stored
// order.
std::vector<Profile> OpenRailsProfiles();

}  // namespace install
