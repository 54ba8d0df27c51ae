#pragma once
// The restore of a fog run: every route file back from its backup and everything the run added
// taken away again, as far as it is still the run's own, kept in the run record until it is done.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "core/fog/run_record.h"

namespace fog {

// Points where a run or a restore reports progress; fault-injection tests stop the process there.
// A "staged" file is written beside its target but has not replaced anything yet. The index is
// the file's among its kind; for the record, how many of its kind follow (textures after
// RecordWritten, Open Rails files after AddedRecorded), so that progress can count them.
enum class Step {
    BackupStaged,
    BackedUp,
    RecordWritten,
    InstallStaged,  // a texture, then each fog file
    TextureAdded,
    Installed,
    RestoreStaged,
    PutBack,
    TextureDeleted,
    RecordRemoved,
    AddedRecorded,  // the record lists the Open Rails files; none is written yet
    AddedStaged,    // an Open Rails file, written beside its place
    Added,
    AddedDeleted
};
using StepHook = std::function<void(Step step, std::size_t index)>;

struct RestoreOutcome {
    // Not put back because the backup is missing or unreadable, or the route's Envfiles folder is
    // gone or lies behind a link in the route: nothing to try again now, but the record keeps them,
    // so that a later start offers the restore again once the player has put the backup back.
    std::vector<std::string> lost;
    // Not put back now although the backup is there (e.g. a read-only route file holding fog);
    // the record keeps them for another try.
    std::vector<std::string> retry;
    // Route files that were links, where something other than the run's fog file stands now (or
    // nothing): no backup holds what is there, so it stays and the link is not put back. The
    // record keeps nothing of them.
    std::vector<std::string> keptFiles;
    // Textures the run added whose bytes are no longer the shipped texture's: somebody else's file
    // now, left where it is.
    std::vector<std::string> keptTextures;
    // Files the run added for Open Rails (full paths) that hold other bytes now: left where they
    // are. And those that still hold the run's bytes but could not be deleted: kept for a retry.
    std::vector<std::string> keptAdded;
    std::vector<std::string> addedRetry;
    bool Complete() const {
        return lost.empty() && retry.empty() && keptFiles.empty() && keptTextures.empty() &&
               keptAdded.empty() && addedRetry.empty();
    }
};

// Copies each backup back over the route's file (a route file that was a link gets its link back,
// in place of the run's fog file only) and deletes the textures the run added that still hold the
// shipped bytes, all made durable together, then removes the record once every file is back; until
// then the record keeps what is left. Nothing is written or deleted in a folder that a link inside
// the route leads to: what stands there is left and named. The record's InstallRoot is used: that
// is where the files were replaced. While another copy of the program holds the Dump folder nothing
// is touched and every file is left to retry.
RestoreOutcome RestoreFog(const RunRecord& record, const StepHook& hook = {});

}  // namespace fog
