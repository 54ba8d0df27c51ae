#include "core/fog/fog_run.h"

#include <algorithm>
#include <charconv>
#include <memory>
#include <stdexcept>
#include <utility>

#include "core/fog/dump_lock.h"
#include "core/fog/route_recovery.h"
#include "core/fog/visibility.h"
#include "core/platform/files.h"
#include "core/platform/parallel.h"
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

std::string TexturesFolder(std::string_view installRoot, std::string_view route) {
    return platform::JoinPath(RouteEnvFolder(installRoot, route), "Textures");
}

// The folder part of a file's location.
std::string FolderOf(const std::string& location) {
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

void Report(const StepHook& hook, Step step, std::size_t index) {
    if (hook) hook(step, index);
}

bool RemoveRunRecord() {
    return platform::DeleteFile(RunRecordPath());
}

// The simulator folder the player configured. A record made for any other folder (or typed into
// one) would have the restore overwrite and delete files in a tree the player never chose.
bool IsConfiguredRoot(const std::string& installRoot) {
    const std::string configured =
        settings::ReadString(settings::kLocationSection, settings::kPathKey);
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

void RemoveBackupLeftovers() {
    const std::string backups = platform::DumpPath("Back_up");
    for (const platform::FileEntry& entry :
         platform::FindFiles(platform::JoinPath(backups, "*"),
                             platform::FileAttr::Directory | platform::FileAttr::Hidden)) {
        const std::string folder = platform::JoinPath(backups, entry.name);
        if (entry.IsDirectory() && !platform::ReachedThroughLink(backups, folder))
            platform::RemoveLeftoverTemporaries(folder);
    }
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

namespace {

// The prepared fog files of every weather and level that are there, looked up once per run. A
// route file is compared with each by size first, and read only against one of its size, up to
// the first difference: the shipped files differ in size from nearly any route's own.
class PreparedFogFiles {
  public:
    PreparedFogFiles() {
        for (const Weather weather : {Weather::Sun, Weather::Rain, Weather::Snow}) {
            for (const int metres : kLevels) {
                const auto prepared = PreparedEnvFile(weather, metres);
                if (prepared && platform::IsFile(*prepared))
                    files_.push_back({{weather, metres}, platform::ResolvePath(*prepared)});
            }
        }
    }
    // Which of them the file holds, if any.
    std::optional<PreparedFog> HeldBy(std::string_view path) const {
        for (const auto& [fog, prepared] : files_) {
            if (platform::SameFileBytes(prepared, path)) return fog;
        }
        return std::nullopt;
    }

  private:
    std::vector<std::pair<PreparedFog, std::string>> files_;
};

}  // namespace

bool HoldsPreparedFogFile(std::string_view path) {
    return PreparedFogIn(path).has_value();
}

std::optional<PreparedFog> PreparedFogIn(std::string_view path) {
    return PreparedFogFiles().HeldBy(path);
}

bool IsOwnBackupFolder(std::string_view installRoot, std::string_view route) {
    const std::string backupFolder = RouteBackupFolder(route);
    return !platform::IsLink(backupFolder) &&
           !platform::SameFile(backupFolder, RouteFolder(installRoot, route)) &&
           !platform::SameFile(backupFolder, RouteEnvFolder(installRoot, route));
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

namespace {

// What the steps of one fog run share: the request, where the run works, and what the steps have
// found and decided so far.
struct FogRun {
    FogRun(const FogRunRequest& request, const StepHook& hook, RunReport& report)
        : request(request),
          hook(hook),
          report(report),
          routeFolder(RouteFolder(request.installRoot, request.route)),
          envFolder(RouteEnvFolder(request.installRoot, request.route)),
          backupFolder(RouteBackupFolder(request.route)),
          texturesFolder(TexturesFolder(request.installRoot, request.route)) {}

    const FogRunRequest& request;
    const StepHook& hook;
    RunReport& report;
    const std::string routeFolder;
    const std::string envFolder;
    const std::string backupFolder;
    const std::string texturesFolder;
    std::vector<std::string> handled;          // the route's files the run replaces, in slot order
    std::string prepared;                      // the prepared fog file they get
    std::map<std::string, std::string> links;  // route files that are links: their targets
    RunRecord record;
    OpenRailsPlan openRails;
};

using RunStep = std::optional<RunOutcome> (*)(FogRun& run);

// Whether the run may start at all; nothing is touched here.
std::optional<RunOutcome> CheckRequest(FogRun& run) {
    const FogRunRequest& request = run.request;
    if (!IsPlainName(request.route)) return RunOutcome::BadRouteName;
    run.handled = HandledSlots(request.found.names, request.found.multiFileMode);
    if (run.handled.empty()) return RunOutcome::NothingFound;
    if (!ClaimDumpFolder()) return RunOutcome::InUse;
    // Backing up now would overwrite the only copies of files still waiting to be put back; a
    // record that cannot be used is set aside (and reported) first, never taken for none.
    if (RunRecordPresent()) return RunOutcome::UnrestoredRun;

    // Without its fog file the run could only fail later, after changing the route.
    const std::optional<std::string> prepared = PreparedEnvFile(request.weather, request.metres);
    if (!prepared || !platform::IsFile(*prepared)) {
        run.report.notInstalled = run.handled;
        run.report.missingFogFile = prepared;
        return RunOutcome::InstallFailed;
    }
    run.prepared = *prepared;
    return std::nullopt;
}

// Whether each route file can be backed up as what it is; nothing is touched here either.
std::optional<RunOutcome> CheckRouteFiles(FogRun& run) {
    using platform::JoinPath;
    // Backups and fog files would be written in whatever folder the link leads to, and the
    // restore refuses to write there.
    if (platform::ReachedThroughLink(run.routeFolder, run.envFolder))
        return RunOutcome::LinkedFolder;
    // A route file holding fog already (fogged by another copy of the program, or a run whose
    // record was lost) must not become the backup: the original's backup would be gone.
    const PreparedFogFiles prepared;
    for (const std::string& name : run.handled) {
        if (prepared.HeldBy(JoinPath(run.envFolder, name))) run.report.fogged.push_back(name);
    }
    if (!run.report.fogged.empty()) {
        run.report.recovery = RecoveryRecord(run.request, run.report.fogged);
        return RunOutcome::AlreadyFogged;
    }
    // A route file that is a link is put back as that link; where its target cannot be read (on
    // Windows), the restore could only leave a copy in its place.
    for (const std::string& name : run.handled) {
        const std::string path = JoinPath(run.envFolder, name);
        if (!platform::IsLink(path)) continue;
        const auto target = platform::ReadLink(path);
        if (!target) return RunOutcome::BackupFailed;
        run.links[name] = *target;
    }
    return std::nullopt;
}

// Makes the route's backup folder and checks that it is the program's own.
std::optional<RunOutcome> PrepareBackupFolder(FogRun& run) {
    using platform::JoinPath;
    platform::CreateFolder(run.backupFolder);
    // Where a link leads, backups would overwrite and the leftover clean-up below would delete.
    if (!IsOwnBackupFolder(run.request.installRoot, run.request.route))
        return RunOutcome::BackupFailed;
    for (const std::string& name : run.handled) {
        // A backup that is the route's file itself (a hard link) is no copy of it.
        if (platform::SameFile(JoinPath(run.envFolder, name), JoinPath(run.backupFolder, name)))
            return RunOutcome::BackupFailed;
    }
    platform::RemoveLeftoverTemporaries(run.backupFolder);  // of a run cut short before its record
    return std::nullopt;
}

// Backs up every route file the run replaces, all made durable together, and checks each backup.
std::optional<RunOutcome> BackUpRouteFiles(FogRun& run) {
    using platform::JoinPath;
    const std::vector<std::string>& handled = run.handled;
    platform::FileBatch backups;
    const auto kept = std::make_unique<bool[]>(handled.size());
    for (std::size_t i = 0; i < handled.size(); ++i) {
        // After a restore the backups usually hold these bytes already: they are kept, not
        // written again.
        backups.CopyUnlessSame(JoinPath(run.envFolder, handled[i]),
                               JoinPath(run.backupFolder, handled[i]), &kept[i]);
        Report(run.hook, Step::BackupStaged, i);
    }
    std::vector<bool> applied(handled.size());
    const std::vector<bool> durable = backups.Commit(true, [&](std::size_t i) {
        applied[i] = true;
        Report(run.hook, Step::BackedUp, i);
    });
    // Checked only once all copies are in place, so that two names the backup folder takes for
    // the same file cannot pass one after the other. A backup made but perhaps not on disk is no
    // backup; where none was made, one already there is good if it holds the route file's bytes
    // (e.g. a read-only backup equal to it). When every backup was kept, nothing was written
    // since each was found equal: the bytes need no second reading.
    bool allKept = true;
    for (std::size_t i = 0; i < handled.size(); ++i) allKept = allKept && applied[i] && kept[i];
    for (std::size_t i = 0; i < handled.size(); ++i) {
        const std::string& name = handled[i];
        if ((applied[i] && !durable[i]) ||
            (!allKept && !platform::SameFileBytes(JoinPath(run.envFolder, name),
                                                  JoinPath(run.backupFolder, name)))) {
            return RunOutcome::BackupFailed;
        }
    }
    return std::nullopt;
}

// Writes the run record, before the first route file changes: what the restore puts back, the
// textures the route lacks and the Open Rails files the run will add.
std::optional<RunOutcome> WriteRunRecord(FogRun& run) {
    const FogRunRequest& request = run.request;
    RunRecord& record = run.record;
    record = {request.route,
              request.installRoot,
              request.weather,
              request.metres,
              request.found.multiFileMode,
              run.handled,
              {},
              std::move(run.links)};
    // Through a linked Textures folder they would land elsewhere: the sky just stays as it is.
    for (std::string_view texture : TexturesFor(request.weather)) {
        if (!platform::IsFile(platform::JoinPath(run.texturesFolder, texture)) &&
            !platform::ReachedThroughLink(run.routeFolder, run.texturesFolder))
            record.textures.emplace_back(texture);
    }
    // The Open Rails files are worked out now, so that the one record lists them too.
    if (request.openRails) {
        run.openRails =
            PlanOpenRailsFiles(run.routeFolder, request.weather, request.metres, request.fogWord);
        run.report.unreadableActivities = std::move(run.openRails.unreadable);
        record.added = run.openRails.files;
        record.addedFolders = run.openRails.folders;
    }
    bool saved = SaveRunRecord(record);
    if (!saved && !record.added.empty()) {
        // A record too large for its reader (tens of thousands of activities): the fog run goes
        // on without them.
        for (const AddedFile& file : record.added) run.report.notAdded.push_back(file.path);
        run.openRails = {};
        record.added.clear();
        record.addedFolders.clear();
        saved = SaveRunRecord(record);
    }
    if (!saved) {
        RemoveRunRecord();
        return RunOutcome::BackupFailed;
    }
    Report(run.hook, Step::RecordWritten, record.textures.size());
    if (!record.added.empty()) Report(run.hook, Step::AddedRecorded, record.added.size());
    return std::nullopt;
}

// Adds the textures and copies the fog file over each route file, as one batch; a run that did
// not take is put back at once.
std::optional<RunOutcome> InstallFogFiles(FogRun& run) {
    using platform::JoinPath;
    const RunRecord& record = run.record;
    // The new names need not be durable: until the restore, the record and the backups are what
    // a crash must not lose, and a route file is always either its old or its new self.
    platform::FileBatch installs;
    const std::string shippedTextures = platform::DumpPath("Textures");
    std::size_t staged = 0;
    for (const std::string& texture : record.textures) {
        installs.Copy(JoinPath(shippedTextures, texture), JoinPath(run.texturesFolder, texture),
                      true);
        Report(run.hook, Step::InstallStaged, staged++);
    }
    for (const std::string& name : run.handled) {
        installs.Copy(run.prepared, JoinPath(run.envFolder, name), false);
        Report(run.hook, Step::InstallStaged, staged++);
    }
    const std::size_t added = record.textures.size();
    installs.Commit(false, [&](std::size_t op) {
        if (op < added) {
            Report(run.hook, Step::TextureAdded, op);
        } else {
            Report(run.hook, Step::Installed, op - added);
        }
    });

    // A texture that could not be added only changes the sky; a route file without the fog file
    // (full disk, read-only file or folder) is a run that did not happen. The bytes settle it,
    // whatever each copy reported; the fog file is read once for all of them.
    const std::optional<std::string> fog = platform::ReadFileBytes(run.prepared);
    for (const std::string& name : run.handled) {
        if (!fog || !platform::FileHolds(JoinPath(run.envFolder, name), *fog))
            run.report.notInstalled.push_back(name);
    }
    if (!run.report.notInstalled.empty()) {
        run.report.undo = RestoreFog(record, run.hook);
        return RunOutcome::InstallFailed;
    }
    return std::nullopt;
}

// Writes the planned Open Rails files once the fog files are in. The record lists them already
// (it was written with them, before the first route file changed), so that a crash at any point
// leaves only files the restore knows and can check; afterwards it keeps only those that were
// written. Nothing here can undo the fog run.
void WriteOpenRailsFiles(FogRun& run) {
    const OpenRailsPlan& plan = run.openRails;
    RunRecord& record = run.record;
    if (plan.files.empty()) return;
    const RunRecord planned = record;
    std::vector<std::string> created;
    for (const std::string& folder : plan.folders) {
        if (platform::CreateFolder(AddedFileLocation(run.routeFolder, folder)))
            created.push_back(folder);
    }
    std::vector<bool> written(plan.files.size());
    // The plan left out linked folders; one that became a link since gets nothing either.
    LinkedFolders linked(run.routeFolder);
    // One batch for all of them: one flush of the disk, however many activities the route has.
    platform::FileBatch batch;
    std::vector<std::size_t> staged;  // the plan's index of each operation
    for (std::size_t i = 0; i < plan.files.size(); ++i) {
        const std::string location = AddedFileLocation(run.routeFolder, plan.files[i].path);
        if (linked.Linked(FolderOf(location))) continue;
        batch.Create(location, plan.contents[i]);
        staged.push_back(i);
        Report(run.hook, Step::AddedStaged, i);
    }
    const std::vector<bool> done =
        batch.Commit(false, [&](std::size_t op) { Report(run.hook, Step::Added, staged[op]); });
    for (std::size_t op = 0; op < staged.size(); ++op) written[staged[op]] = done[op];
    record.added.clear();
    for (std::size_t i = 0; i < plan.files.size(); ++i) {
        if (written[i]) {
            record.added.push_back(plan.files[i]);
        } else {
            run.report.notAdded.push_back(plan.files[i].path);
        }
    }
    record.addedFolders = std::move(created);
    // If this fails the planned record stays: it names more than was written, and the restore
    // deletes only files that hold what the run wrote.
    if (record != planned) SaveRunRecord(record);
}

// The target a route file that was a link gets back, or nothing for a plain file.
const std::string* LinkOf(const RunRecord& record, const std::string& name) {
    const auto link = record.links.find(name);
    return link == record.links.end() ? nullptr : &link->second;
}

// What the steps of one restore share. Its batch holds the files put back, then the textures'
// deletions, then the Open Rails files' deletions, and is made durable as one before the record
// goes.
struct Restore {
    Restore(const RunRecord& record, const StepHook& hook)
        : record(record),
          hook(hook),
          routeFolder(RouteFolder(record.installRoot, record.route)),
          envFolder(RouteEnvFolder(record.installRoot, record.route)),
          backupFolder(RouteBackupFolder(record.route)),
          texturesFolder(TexturesFolder(record.installRoot, record.route)),
          linked(routeFolder) {}

    const RunRecord& record;
    const StepHook& hook;
    const std::string routeFolder;
    const std::string envFolder;
    const std::string backupFolder;
    const std::string texturesFolder;
    LinkedFolders linked;
    platform::FileBatch batch;
    std::vector<std::size_t> putBacks;      // index into record.files of each put-back operation
    std::size_t textureOps = 0;             // operations that delete a texture, after those
    std::vector<std::string> locations;     // each Open Rails file's place
    std::vector<std::string> tempsRemoved;  // folders already rid of leftover temporaries
    std::vector<std::size_t> addedOps;      // index into record.added of each deletion
    std::vector<bool> applied;              // by file: put back
    std::vector<bool> fileDone;             // by file: put back and durable
    std::vector<bool> done;                 // by operation: durable
    std::vector<AddedFile> addedLeft;
    std::vector<std::string> foldersLeft;
    std::vector<std::string> left;  // files not back, in slot order
    RestoreOutcome outcome;
};

// Whether the route file holds the fog file the run put in place of a link (itself no link):
// only that may give way to the link again, for nothing else has a backup. Nothing when the
// prepared file cannot be read, so that the question stays open.
std::optional<bool> HoldsRunFogFile(const RunRecord& record, const std::string& path) {
    const std::optional<std::string> prepared = PreparedEnvFile(record.weather, record.metres);
    const std::optional<std::string> fog =
        prepared ? platform::ReadFileBytes(*prepared) : std::nullopt;
    if (!fog) return std::nullopt;
    return !platform::IsLink(path) && platform::FileHolds(path, *fog);
}

// Each file goes back from its backup, or as the link it was; none through an Envfiles folder
// that a link leads to.
void StagePutBacks(Restore& restore) {
    using platform::JoinPath;
    if (restore.linked.Linked(restore.envFolder)) return;
    for (std::size_t i = 0; i < restore.record.files.size(); ++i) {
        const std::string& name = restore.record.files[i];
        const std::string route = JoinPath(restore.envFolder, name);
        if (const std::string* target = LinkOf(restore.record, name)) {
            if (HoldsRunFogFile(restore.record, route) != true) continue;
            restore.batch.Link(*target, route);
        } else {
            restore.batch.Copy(JoinPath(restore.backupFolder, name), route, false);
        }
        restore.putBacks.push_back(i);
        Report(restore.hook, Step::RestoreStaged, i);
    }
}

// An added texture is deleted only while it is still the one the run copied in: whatever else
// stands there now (also through a Textures folder that leads elsewhere) is not ours.
void StageTextureDeletions(Restore& restore) {
    using platform::JoinPath;
    const std::string shippedTextures = platform::DumpPath("Textures");
    const bool linked = restore.linked.Linked(restore.texturesFolder);
    for (const std::string& texture : restore.record.textures) {
        const std::string path = JoinPath(restore.texturesFolder, texture);
        if (!platform::EntryExists(path)) continue;
        if (!linked && platform::SameFileBytes(JoinPath(shippedTextures, texture), path)) {
            restore.batch.Delete(path);
        } else {
            restore.outcome.keptTextures.push_back(path);
        }
    }
    restore.textureOps = restore.batch.Size() - restore.putBacks.size();
}

// The files added for Open Rails go the same way: only while they hold the run's bytes, and
// only in the route's own folders.
void StageAddedDeletions(Restore& restore) {
    const RunRecord& record = restore.record;
    std::vector<bool> linked(record.added.size());
    for (std::size_t j = 0; j < record.added.size(); ++j) {
        const std::string& location = restore.locations.emplace_back(
            AddedFileLocation(restore.routeFolder, record.added[j].path));
        const std::string folder = FolderOf(location);
        linked[j] = restore.linked.Linked(folder);
        std::vector<std::string>& cleared = restore.tempsRemoved;
        if (!linked[j] && std::find(cleared.begin(), cleared.end(), folder) == cleared.end()) {
            platform::RemoveLeftoverTemporaries(folder);  // of a run cut short while writing
            cleared.push_back(folder);
        }
    }
    // Each is read back on its own: routes hold hundreds.
    enum class Found : char { Gone, Ours, Changed };
    std::vector<Found> found(record.added.size());
    constexpr std::size_t kPerWorker = 8;
    platform::ForEachIndex(found.size(), kPerWorker, platform::ProcessorWorkers(),
                           [&](std::size_t j) {
                               const std::string& location = restore.locations[j];
                               // Never written, or gone already.
                               if (!platform::EntryExists(location)) return;
                               const bool ours = !linked[j] && !platform::IsLink(location) &&
                                                 HoldsAddedBytes(location, record.added[j]);
                               found[j] = ours ? Found::Ours : Found::Changed;
                           });
    for (std::size_t j = 0; j < record.added.size(); ++j) {
        if (found[j] == Found::Changed) restore.outcome.keptAdded.push_back(restore.locations[j]);
        if (found[j] != Found::Ours) continue;
        restore.batch.Delete(restore.locations[j]);
        restore.addedOps.push_back(j);
    }
}

void CommitRestore(Restore& restore) {
    const std::size_t files = restore.putBacks.size();
    const std::size_t textureOps = restore.textureOps;
    restore.applied.assign(restore.record.files.size(), false);
    restore.done = restore.batch.Commit(true, [&](std::size_t op) {
        if (op < files) {
            restore.applied[restore.putBacks[op]] = true;
            Report(restore.hook, Step::PutBack, restore.putBacks[op]);
        } else if (op < files + textureOps) {
            Report(restore.hook, Step::TextureDeleted, op - files);
        } else {
            Report(restore.hook, Step::AddedDeleted, restore.addedOps[op - files - textureOps]);
        }
    });
    restore.fileDone.assign(restore.record.files.size(), false);
    for (std::size_t op = 0; op < files; ++op)
        restore.fileDone[restore.putBacks[op]] = restore.done[op];
}

// The Open Rails files that still hold the run's bytes although their deletion failed, and the
// folders the run made: one goes once it is empty again; one that holds anything else stays.
void SettleAddedFiles(Restore& restore) {
    const RunRecord& record = restore.record;
    const std::size_t firstAddedOp = restore.putBacks.size() + restore.textureOps;
    for (std::size_t k = 0; k < restore.addedOps.size(); ++k) {
        const AddedFile& file = record.added[restore.addedOps[k]];
        const std::string& location = restore.locations[restore.addedOps[k]];
        if (restore.done[firstAddedOp + k] || !HoldsAddedBytes(location, file)) continue;
        restore.addedLeft.push_back(file);
        restore.outcome.addedRetry.push_back(location);
    }
    const std::vector<std::string>& cleared = restore.tempsRemoved;
    for (const std::string& folder : record.addedFolders) {
        const std::string location = AddedFileLocation(restore.routeFolder, folder);
        if (restore.linked.Linked(location)) continue;  // not the folder the run made
        if (std::find(cleared.begin(), cleared.end(), location) == cleared.end())
            platform::RemoveLeftoverTemporaries(location);
        if (!platform::RemoveEmptyFolder(location) && !restore.addedLeft.empty() &&
            platform::IsDirectory(location))
            restore.foldersLeft.push_back(folder);
    }
}

// The route files that are not back: lost when there is nothing to put back now, else to retry.
void SettleRouteFiles(Restore& restore) {
    using platform::JoinPath;
    for (std::size_t i = 0; i < restore.record.files.size(); ++i) {
        if (restore.fileDone[i]) continue;
        const std::string& name = restore.record.files[i];
        const std::string route = JoinPath(restore.envFolder, name);
        const std::string backup = JoinPath(restore.backupFolder, name);
        const std::string* target = LinkOf(restore.record, name);
        // Not replaced but already back: a read-only route file that never took the fog file, or
        // the link itself. One replaced but perhaps not on disk is tried again, whatever the
        // bytes say now.
        if (!restore.applied[i] && (target ? platform::ReadLink(route) == *target
                                           : platform::SameFileBytes(backup, route)))
            continue;
        const bool folderThere =
            !restore.linked.Linked(restore.envFolder) && platform::IsDirectory(restore.envFolder);
        // A link's place that holds anything but the run's fog file keeps it: there is nothing
        // to put back, now or later.
        std::optional<bool> fogThere = true;
        if (target && folderThere && !restore.applied[i])
            fogThere = HoldsRunFogFile(restore.record, route);
        if (fogThere == false) {
            restore.outcome.keptFiles.push_back(name);
            continue;
        }
        restore.left.push_back(name);
        const bool nothingToPutBack =
            target ? !fogThere.has_value() : !platform::ReadFileBytes(backup);
        if (!folderThere || nothingToPutBack) {
            restore.outcome.lost.push_back(name);
        } else {
            restore.outcome.retry.push_back(name);
        }
    }
}

// Removes the record once everything is back, else keeps in it what is left to do.
void UpdateRunRecord(Restore& restore) {
    const RunRecord& record = restore.record;
    const std::vector<std::string>& left = restore.left;
    if (left.empty() && restore.addedLeft.empty()) {
        RemoveRunRecord();
        Report(restore.hook, Step::RecordRemoved, 0);
        return;
    }
    // If this write fails the old record stays, and retrying all of it is harmless.
    RunRecord rest = record;
    rest.files = left;
    rest.textures.clear();
    const std::vector<std::string>& kept = restore.outcome.keptTextures;
    for (const std::string& texture : record.textures) {
        const std::string path = platform::JoinPath(restore.texturesFolder, texture);
        if (platform::IsFile(path) && std::find(kept.begin(), kept.end(), path) == kept.end())
            rest.textures.push_back(texture);
    }
    std::erase_if(rest.links, [&](const auto& link) {
        return std::find(left.begin(), left.end(), link.first) == left.end();
    });
    rest.added = std::move(restore.addedLeft);
    rest.addedFolders = std::move(restore.foldersLeft);
    SaveRunRecord(rest);
}

}  // namespace

RunOutcome RunFog(const FogRunRequest& request, const StepHook& hook, RunReport* report) {
    RunReport unused;
    if (!report) report = &unused;
    *report = {};
    FogRun run(request, hook, *report);
    for (const RunStep step : {CheckRequest, CheckRouteFiles, PrepareBackupFolder, BackUpRouteFiles,
                               WriteRunRecord, InstallFogFiles}) {
        if (const std::optional<RunOutcome> outcome = step(run)) return *outcome;
    }
    WriteOpenRailsFiles(run);
    report->record = std::move(run.record);
    return RunOutcome::Installed;
}

RestoreOutcome RestoreFog(const RunRecord& record, const StepHook& hook) {
    // Another copy works on the Dump folder.
    if (!ClaimDumpFolder()) {
        RestoreOutcome busy;
        busy.retry = record.files;
        return busy;
    }
    Restore restore(record, hook);
    // What a run or restore cut short was about to put into the route.
    for (const std::string& folder : {restore.envFolder, restore.texturesFolder})
        if (!restore.linked.Linked(folder)) platform::RemoveLeftoverTemporaries(folder);
    StagePutBacks(restore);
    StageTextureDeletions(restore);
    StageAddedDeletions(restore);
    CommitRestore(restore);
    SettleAddedFiles(restore);
    SettleRouteFiles(restore);
    UpdateRunRecord(restore);
    return std::move(restore.outcome);
}

}  // namespace fog
