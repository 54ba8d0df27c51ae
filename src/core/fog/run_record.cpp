#include "core/fog/run_record.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>
#include <utility>

#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "core/platform/profile.h"
#include "core/settings/settings_file.h"

namespace fog {

namespace {

constexpr std::string_view kSection = "Herstel";
constexpr std::size_t kMaxFiles = 4;
constexpr std::size_t kMaxTextures = 2;
// Far beyond the activities of any route; keeps a damaged record from being read for ever.
constexpr std::size_t kMaxAdded = 100000;

std::string Numbered(std::string_view key, std::size_t n) {
    return std::string(key) + std::to_string(n + 1);
}

// The simulator folder the player configured. A record made for any other folder (or typed into
// one) would have the restore overwrite and delete files in a tree the player never chose.
bool IsConfiguredRoot(const std::string& installRoot) {
    const std::string configured = settings::StoredSimulatorFolder();
    return !configured.empty() &&
           (installRoot == configured || platform::SameFile(installRoot, configured));
}

// Only what a run can have written: a record naming any other file would have the restore
// overwrite or delete it.
bool IsSound(const RunRecord& record) {
    if (!IsPlainName(record.route) || !IsConfiguredRoot(record.installRoot)) return false;
    const SearchPatterns patterns = PatternsFor(record.weather);
    for (const std::string& name : record.files) {
        if (!IsPlainName(name) || !(platform::WildcardMatch(patterns.first, name) ||
                                    platform::WildcardMatch(patterns.broad, name)))
            return false;
    }
    const auto own = TexturesFor(record.weather);
    for (const std::string& texture : record.textures) {
        if (std::find(own.begin(), own.end(), texture) == own.end()) return false;
    }
    // A link stands for one of the record's files; a run on Windows never records one, as it
    // cannot read a link's target there.
    if (platform::kWindows && !record.links.empty()) return false;
    for (const auto& link : record.links) {
        if (std::find(record.files.begin(), record.files.end(), link.first) == record.files.end())
            return false;
    }
    return true;
}

std::optional<RunRecord> ParseRunRecord(const std::string& contents) {
    // Read in one pass: a route's activities give a record thousands of keys.
    const platform::ProfileSection values(contents, kSection);
    auto get = [&](std::string_view key) { return values.Get(key); };
    RunRecord record;
    record.route = get("Route");
    record.installRoot = get("Pad");
    const auto weather = WeatherFromName(get("Weer"));
    if (!weather) return std::nullopt;
    record.weather = *weather;
    const std::string metres = get("Zicht");
    std::from_chars(metres.data(), metres.data() + metres.size(), record.metres);
    record.multiFileMode = get("Meerdere") == "1";
    for (std::size_t i = 0; i < kMaxFiles; ++i) {
        std::string name = get(Numbered("Bestand", i));
        std::string link = get(Numbered("Koppeling", i));
        if (name.empty()) {
            if (!link.empty()) return std::nullopt;  // a link of no file
            continue;
        }
        if (!link.empty()) record.links[name] = std::move(link);
        record.files.push_back(std::move(name));
    }
    for (std::size_t i = 0; i < kMaxTextures; ++i) {
        std::string name = get(Numbered("Textuur", i));
        if (!name.empty()) record.textures.push_back(std::move(name));
    }
    // Numbered from 1 without gaps; a record written before they existed has none.
    for (std::size_t i = 0; i < kMaxAdded; ++i) {
        const std::string value = get(Numbered("Toegevoegd", i));
        if (value.empty()) break;
        auto file = ParseAddedFile(value);
        if (!file) return std::nullopt;
        record.added.push_back(std::move(*file));
    }
    for (std::size_t i = 0; i < kMaxAdded; ++i) {
        std::string folder = get(Numbered("NieuweMap", i));
        if (folder.empty()) break;
        if (!IsAddedFolder(folder)) return std::nullopt;
        record.addedFolders.push_back(std::move(folder));
    }
    if (!IsSound(record)) return std::nullopt;
    return record;
}

}  // namespace

std::string RouteFolder(std::string_view installRoot, std::string_view route) {
    using platform::JoinPath;
    return JoinPath(JoinPath(installRoot, "Routes"), route);
}

OpenRailsFiles AddedForOpenRails(const RunRecord& record) {
    OpenRailsFiles files;
    for (const AddedFile& file : record.added) {
        const auto slash = file.path.find('/');
        if (file.path.find('/', slash + 1) != std::string::npos) continue;  // an extension
        const std::string_view folder(file.path.data(), slash);
        if (IsAddedFolder(folder)) {
            files.weatherFile = file.path;
        } else {
            ++files.activityCopies;
        }
    }
    return files;
}

bool IsPlainName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    if (name.back() == ' ' || name.back() == '.') return false;
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) return false;
        if (std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos) return false;
    }
    return true;
}

std::string RouteEnvFolder(std::string_view installRoot, std::string_view route) {
    return platform::JoinPath(RouteFolder(installRoot, route), "Envfiles");
}

std::string RouteBackupFolder(std::string_view route) {
    return platform::JoinPath(platform::DumpPath("Back_up"), route);
}

std::string RunRecordPath() {
    return platform::DumpPath("Herstel.ini");
}

std::optional<RunRecord> LoadRunRecord() {
    const auto contents = platform::ReadDataFile(RunRecordPath());
    if (!contents) return std::nullopt;
    return ParseRunRecord(*contents);
}

bool RunRecordPresent() {
    return platform::EntryExists(RunRecordPath());
}

bool RemoveRunRecord() {
    return platform::DeleteFile(RunRecordPath());
}

std::optional<std::string> SetAsideRefusedRunRecord() {
    std::optional<std::string> setAsideAt;
    LoadOrSetAsideRunRecord(setAsideAt);
    return setAsideAt;
}

std::optional<RunRecord> LoadOrSetAsideRunRecord(std::optional<std::string>& setAsideAt) {
    setAsideAt.reset();
    if (!RunRecordPresent()) return std::nullopt;
    // One that cannot be read is no absent record: the run it stands for may still hold fog.
    if (std::optional<RunRecord> record = LoadRunRecord()) return record;
    const std::string path = RunRecordPath();
    // Numbered, so that an earlier refused record is never overwritten.
    for (int n = 1; n <= 100; ++n) {
        const std::string aside =
            platform::DumpPath(n == 1 ? std::string("Herstel_ongeldig.ini")
                                      : "Herstel_ongeldig_" + std::to_string(n) + ".ini");
        if (platform::RenameFile(path, aside)) {
            setAsideAt = aside;
            return std::nullopt;
        }
    }
    setAsideAt = path;
    return std::nullopt;
}

bool SaveRunRecord(const RunRecord& record) {
    if (record.files.size() > kMaxFiles || record.textures.size() > kMaxTextures) return false;
    for (const auto& [name, target] : record.links) {
        if (target.empty() ||
            std::find(record.files.begin(), record.files.end(), name) == record.files.end())
            return false;  // a link the record would lose on reading
    }
    std::string ini;
    auto put = [&](std::string_view key, std::string_view value) {
        ini = platform::ProfileUpdate(ini, kSection, key, value);
    };
    try {
        put("Route", record.route);
        put("Pad", record.installRoot);
        put("Weer", WeatherName(record.weather));
        put("Zicht", std::to_string(record.metres));
        put("Meerdere", record.multiFileMode ? "1" : "0");
        for (std::size_t i = 0; i < record.files.size(); ++i) {
            put(Numbered("Bestand", i), record.files[i]);
            if (const auto link = record.links.find(record.files[i]); link != record.links.end())
                put(Numbered("Koppeling", i), link->second);
        }
        for (std::size_t i = 0; i < record.textures.size(); ++i) {
            put(Numbered("Textuur", i), record.textures[i]);
        }
    } catch (const std::invalid_argument&) {
        return false;  // a line break in a name: the profile format cannot hold it
    }
    // Appended as lines: one update per key would rewrite the whole text each time.
    for (std::size_t i = 0; i < record.added.size(); ++i) {
        const std::string line = FormatAddedFile(record.added[i]);
        if (line.find_first_of("\r\n") != std::string::npos) return false;
        ini += Numbered("Toegevoegd", i) + "=" + line + "\r\n";
    }
    for (std::size_t i = 0; i < record.addedFolders.size(); ++i) {
        if (record.addedFolders[i].find_first_of("\r\n") != std::string::npos) return false;
        ini += Numbered("NieuweMap", i) + "=" + record.addedFolders[i] + "\r\n";
    }
    // Reading it back catches anything else the format would change (an overlong path) before
    // the record is trusted with a route's files.
    return platform::WriteFileAtomic(RunRecordPath(), ini) && LoadRunRecord() == record;
}

}  // namespace fog
