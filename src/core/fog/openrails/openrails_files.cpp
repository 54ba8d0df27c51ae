#include "core/fog/openrails/openrails_files.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <unordered_set>
#include <utility>

#include "core/fog/openrails/activity_copy.h"
#include "core/fog/openrails/weather_file.h"
#include "core/fog/run_record.h"
#include "core/platform/files.h"
#include "core/platform/parallel.h"
#include "core/platform/paths.h"
#include "core/platform/text.h"

namespace fog {

namespace {

constexpr std::string_view kActivities = "Activities";
constexpr std::string_view kExtensions = "OpenRails";
// Far beyond any real activity; a file this large is no activity file.
constexpr std::uint64_t kMaxActivitySize = std::uint64_t{64} << 20;

std::vector<std::string_view> Parts(std::string_view path) {
    std::vector<std::string_view> parts;
    for (;;) {
        const auto slash = path.find('/');
        parts.push_back(path.substr(0, slash));
        if (slash == std::string_view::npos) return parts;
        path.remove_prefix(slash + 1);
    }
}

// A path as the run record holds it: folder names and a file name joined by '/' on every system.
std::string RecordPath(std::initializer_list<std::string_view> parts) {
    std::string path;
    std::string_view separator;
    for (std::string_view part : parts) {
        path.append(separator).append(part);
        separator = "/";
    }
    return path;
}

bool EndsWithNoCase(std::string_view s, std::string_view end) {
    return s.size() >= end.size() && platform::EqualNoCase(s.substr(s.size() - end.size()), end);
}

bool IsWeatherFileName(std::string_view name) {
    return name.size() > 11 && name.substr(0, 11) == "ZEL_Nevora_" &&
           EndsWithNoCase(name, ".weather-or");
}

// The names a folder holds, any entry, and those the plan gives out, compared without regard to
// case: one listing instead of one lookup per name tried. (The write itself refuses any name
// that is taken by then.)
class FolderNames {
  public:
    explicit FolderNames(const std::string& folder)
        : FolderNames(
              platform::FindFiles(platform::JoinPath(folder, "*"), platform::FileAttr::AnyFile)) {}
    // From a listing of every entry of the folder, where the caller needs one anyway.
    explicit FolderNames(const std::vector<platform::FileEntry>& entries) {
        for (const platform::FileEntry& entry : entries)
            names_.insert(platform::UpperCased(entry.name));
    }
    bool Taken(std::string_view name) const {
        return names_.count(platform::UpperCased(name)) != 0;
    }
    void Take(std::string_view name) { names_.insert(platform::UpperCased(name)); }

  private:
    std::unordered_set<std::string> names_;
};

// A folder of the route as the route spells it (the simulator finds it without regard to case),
// and that spelling of its name.
std::pair<std::string, std::string> OnDisk(const std::string& folder, std::string_view name) {
    const std::string resolved = platform::ResolvePath(platform::JoinPath(folder, name));
    return {resolved, resolved.substr(resolved.size() - name.size())};
}

// A real folder of the route: nothing is added or looked for through a folder that a link leads
// elsewhere, since the restore would not take it away again.
bool IsOwnFolder(const std::string& route, const std::string& folder) {
    return platform::IsDirectory(folder) && !platform::ReachedThroughLink(route, folder);
}

// What a copy's display name gets, as in " (mist 50 m)".
std::string NameSuffix(std::string_view fogWord, int metres) {
    return " (" + platform::DecodeForDisplay(fogWord) + " " + std::to_string(metres) + " m)";
}

// The fogged copy of one activity of the folder, or nothing for no activity file.
std::optional<std::string> FoggedCopy(const std::string& activities, const std::string& name,
                                      Weather weather, int metres, const std::string& suffix) {
    const std::string original = platform::JoinPath(activities, name);
    const auto bytes =
        platform::IsLink(original) ? std::nullopt : platform::ReadFileBytes(original);
    if (!bytes || bytes->size() > kMaxActivitySize) return std::nullopt;
    return FogActivity(*bytes, {weather, metres, suffix, name.substr(0, name.size() - 4)});
}

// The extension file the simulator merges into an activity by its name, when it has one.
std::optional<std::string> ExtensionOf(const std::string& extensions, const std::string& name) {
    const std::string extension = platform::JoinPath(extensions, name);
    if (!platform::IsFile(extension) || platform::IsLink(extension)) return std::nullopt;
    return platform::ReadFileBytes(extension);
}

// Whether a folder entry holds exactly `bytes` (a link never does: it is not what a run wrote).
bool Holds(const std::string& path, const std::string& bytes) {
    return !platform::IsLink(path) && platform::FileHolds(path, bytes);
}

}  // namespace

std::string ContentHash(std::string_view bytes) {
    // FNV-1a over 8-byte words (the rest byte by byte), the length mixed in: eight times fewer
    // steps than over bytes, for routes with hundreds of activities.
    std::uint64_t h = 0xcbf29ce484222325ull ^ bytes.size();
    constexpr std::uint64_t kPrime = 0x100000001b3ull;
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        h = (h ^ word) * kPrime;
        h ^= h >> 29;
    }
    for (; i < bytes.size(); ++i) h = (h ^ static_cast<unsigned char>(bytes[i])) * kPrime;
    char out[17];
    std::snprintf(out, sizeof out, "%016llx", static_cast<unsigned long long>(h));
    return out;
}

std::string FormatAddedFile(const AddedFile& file) {
    return file.path + '|' + std::to_string(file.size) + '|' + file.hash;
}

std::optional<AddedFile> ParseAddedFile(std::string_view text) {
    const auto second = text.rfind('|');
    if (second == std::string_view::npos || second == 0) return std::nullopt;
    const auto first = text.rfind('|', second - 1);
    if (first == std::string_view::npos) return std::nullopt;
    AddedFile file;
    file.path = text.substr(0, first);
    const std::string_view size = text.substr(first + 1, second - first - 1);
    const auto [end, error] = std::from_chars(size.data(), size.data() + size.size(), file.size);
    if (error != std::errc() || end != size.data() + size.size() || size.empty())
        return std::nullopt;
    file.hash = text.substr(second + 1);
    if (file.hash.size() != 16 ||
        file.hash.find_first_not_of("0123456789abcdef") != std::string::npos)
        return std::nullopt;
    if (!IsAddedFilePath(file.path)) return std::nullopt;
    return file;
}

bool IsAddedFilePath(std::string_view path) {
    const std::vector<std::string_view> parts = Parts(path);
    for (std::string_view part : parts)
        if (!IsPlainName(part)) return false;
    const std::string_view name = parts.back();
    const bool activityCopy = IsActivityCopyName(name) && EndsWithNoCase(name, ".act");
    if (parts.size() == 2 && platform::EqualNoCase(parts[0], kActivities)) return activityCopy;
    if (parts.size() == 3 && platform::EqualNoCase(parts[0], kActivities) &&
        platform::EqualNoCase(parts[1], kExtensions))
        return activityCopy;
    return parts.size() == 2 && platform::EqualNoCase(parts[0], kWeatherFilesFolder) &&
           IsWeatherFileName(name);
}

bool IsAddedFolder(std::string_view folder) {
    return IsPlainName(folder) && platform::EqualNoCase(folder, kWeatherFilesFolder);
}

std::string AddedFileLocation(std::string_view routeFolder, std::string_view path) {
    std::string location(routeFolder);
    for (std::string_view part : Parts(path)) location = platform::JoinPath(location, part);
    return location;
}

bool HoldsAddedBytes(std::string_view location, const AddedFile& file) {
    const auto bytes = platform::ReadFileBytes(location);
    return bytes && bytes->size() == file.size && ContentHash(*bytes) == file.hash;
}

OpenRailsPlan PlanOpenRailsFiles(std::string_view routeFolder, Weather weather, int metres,
                                 std::string_view fogWord) {
    using platform::JoinPath;
    OpenRailsPlan plan;
    auto add = [&](std::string path, std::string bytes) {
        plan.files.push_back({std::move(path), bytes.size(), ContentHash(bytes)});
        plan.contents.push_back(std::move(bytes));
    };
    const std::string route(routeFolder);
    const auto [activities, activitiesName] = OnDisk(route, kActivities);
    if (IsOwnFolder(route, activities)) {
        const auto [extensions, extensionsName] = OnDisk(activities, kExtensions);
        const bool hasExtensions = IsOwnFolder(route, extensions);
        // One listing gives both the activities and every name taken beside them: the folder may
        // hold thousands.
        std::vector<platform::FileEntry> entries =
            platform::FindFiles(JoinPath(activities, "*"), platform::FileAttr::AnyFile);
        FolderNames activityNames(entries), extensionNames(extensions);
        const std::string suffix = NameSuffix(fogWord, metres);
        std::vector<std::string> names;
        for (platform::FileEntry& entry : entries) {
            if (!entry.IsDirectory() && !IsActivityCopyName(entry.name) &&
                EndsWithNoCase(entry.name, ".act"))
                names.push_back(std::move(entry.name));
        }
        // Each activity is read and fogged on its own: routes hold hundreds.
        std::vector<std::optional<std::string>> copies(names.size());
        constexpr std::size_t kPerWorker = 8;
        // The folder gets a name of its own in the capture: clang before 16, which clang-tidy
        // parses with, cannot capture a structured binding.
        platform::ForEachIndex(names.size(), kPerWorker, platform::ProcessorWorkers(),
                               [&, &folder = activities](std::size_t i) {
                                   copies[i] =
                                       FoggedCopy(folder, names[i], weather, metres, suffix);
                               });
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string& name = names[i];
            std::optional<std::string>& copy = copies[i];
            if (!copy) {
                plan.unreadable.push_back(name);
                continue;
            }
            // The extension the simulator merges into an activity by file name must follow the
            // copy under its new name.
            std::optional<std::string> extensionBytes;
            if (hasExtensions) extensionBytes = ExtensionOf(extensions, name);
            std::string copyName;
            for (int attempt = 1; attempt < 1000 && copyName.empty(); ++attempt) {
                std::string candidate = ActivityCopyName(name, weather, metres, attempt);
                if (activityNames.Taken(candidate)) continue;
                if (extensionBytes && extensionNames.Taken(candidate)) continue;
                copyName = std::move(candidate);
            }
            if (copyName.empty()) continue;
            std::string copyPath = RecordPath({activitiesName, copyName});
            std::string extensionPath = RecordPath({activitiesName, extensionsName, copyName});
            // A name the run record cannot hold (a colon, a quote) would have the record refused
            // on reading back, and every other copy dropped with it.
            if (!IsAddedFilePath(copyPath) || (extensionBytes && !IsAddedFilePath(extensionPath))) {
                plan.unreadable.push_back(name);
                continue;
            }
            activityNames.Take(copyName);
            add(std::move(copyPath), std::move(*copy));
            ++plan.activityCopies;
            if (extensionBytes) {
                extensionNames.Take(copyName);
                add(std::move(extensionPath), std::move(*extensionBytes));
            }
        }
    }

    const auto [weatherFiles, weatherFilesName] = OnDisk(route, kWeatherFilesFolder);
    if (platform::ReachedThroughLink(route, weatherFiles) ||
        (platform::EntryExists(weatherFiles) && !platform::IsDirectory(weatherFiles)))
        return plan;  // a folder that leads elsewhere, or no folder: no weather file
    if (!platform::IsDirectory(weatherFiles)) plan.folders.push_back(weatherFilesName);
    const FolderNames weatherNames(weatherFiles);
    for (int attempt = 1; attempt < 1000; ++attempt) {
        const std::string name = WeatherFileName(weather, metres, attempt);
        if (weatherNames.Taken(name)) continue;
        plan.weatherFile = RecordPath({weatherFilesName, name});
        add(plan.weatherFile, WeatherFileJson(weather, metres));
        break;
    }
    return plan;
}

std::vector<AddedFile> FindAddedFiles(std::string_view routeFolder, Weather weather, int metres,
                                      std::string_view fogWord) {
    using platform::JoinPath;
    std::vector<AddedFile> found;
    auto take = [&](std::string path, const std::string& bytes) {
        if (IsAddedFilePath(path))
            found.push_back({std::move(path), bytes.size(), ContentHash(bytes)});
    };
    const std::string route(routeFolder);
    // A run gives each copy the first of its names that was free, so they are tried in that
    // order until one is missing.
    const auto [activities, activitiesName] = OnDisk(route, kActivities);
    if (IsOwnFolder(route, activities)) {
        const auto [extensions, extensionsName] = OnDisk(activities, kExtensions);
        const bool hasExtensions = IsOwnFolder(route, extensions);
        const FolderNames activityNames(activities);
        const std::string suffix = NameSuffix(fogWord, metres);
        for (const platform::FileEntry& entry : platform::FindFiles(
                 JoinPath(activities, "*.act"), platform::FileAttr::AnyFileButFolder)) {
            const std::string& name = entry.name;
            if (IsActivityCopyName(name) || !EndsWithNoCase(name, ".act") ||
                !activityNames.Taken(ActivityCopyName(name, weather, metres, 1)))
                continue;
            const std::optional<std::string> copy =
                FoggedCopy(activities, name, weather, metres, suffix);
            if (!copy) continue;
            for (int attempt = 1; attempt < 1000; ++attempt) {
                const std::string copyName = ActivityCopyName(name, weather, metres, attempt);
                if (!activityNames.Taken(copyName)) break;
                if (!Holds(JoinPath(activities, copyName), *copy)) continue;
                take(RecordPath({activitiesName, copyName}), *copy);
                const std::optional<std::string> extension =
                    hasExtensions ? ExtensionOf(extensions, name) : std::nullopt;
                if (extension && Holds(JoinPath(extensions, copyName), *extension))
                    take(RecordPath({activitiesName, extensionsName, copyName}), *extension);
                break;
            }
        }
    }
    const auto [weatherFiles, weatherFilesName] = OnDisk(route, kWeatherFilesFolder);
    if (!IsOwnFolder(route, weatherFiles)) return found;
    const FolderNames weatherNames(weatherFiles);
    const std::string json = WeatherFileJson(weather, metres);
    for (int attempt = 1; attempt < 1000; ++attempt) {
        const std::string name = WeatherFileName(weather, metres, attempt);
        if (!weatherNames.Taken(name)) break;
        if (!Holds(JoinPath(weatherFiles, name), json)) continue;
        take(RecordPath({weatherFilesName, name}), json);
        break;
    }
    return found;
}

}  // namespace fog
