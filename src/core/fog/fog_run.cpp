#include "core/fog/fog_run.h"

#include <map>
#include <memory>
#include <utility>

#include "core/fog/dump_lock.h"
#include "core/fog/openrails/openrails_files.h"
#include "core/fog/route_recovery.h"
#include "core/fog/run_internal.h"
#include "core/fog/visibility.h"
#include "core/platform/files.h"
#include "core/platform/paths.h"

namespace fog {

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

}  // namespace fog
