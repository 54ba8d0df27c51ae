#include "core/fog/restore.h"

#include <algorithm>
#include <utility>

#include "core/fog/dump_lock.h"
#include "core/fog/openrails/openrails_files.h"
#include "core/fog/run_internal.h"
#include "core/fog/weather.h"
#include "core/platform/files.h"
#include "core/platform/parallel.h"
#include "core/platform/paths.h"

namespace fog {

namespace {

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
