#pragma once
// The fog run and its restore. The route's own files are never at risk: every backup is checked
// before anything is replaced, the run is recorded on disk before the first route file changes,
// and every replacement is atomic, so a crash at any point can be undone by a later restore.
#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/fog/discovery.h"
#include "core/fog/openrails/openrails_files.h"
#include "core/fog/weather.h"

namespace fog {

// One plain file or folder name: not empty, not "." or "..", no separator of either kind, no
// drive colon, wildcard or control character, and no trailing blank or dot (Windows drops those,
// so the name would stand for another entry). Anything else could reach outside the Routes,
// Envfiles or backup folders.
bool IsPlainName(std::string_view name);

// <installRoot>/Routes/<route>/Envfiles, without a trailing separator.
std::string RouteEnvFolder(std::string_view installRoot, std::string_view route);
// <prog>Dump/Back_up/<route>
std::string RouteBackupFolder(std::string_view route);
// Removes what backups cut short (the program ended by force) left in every route's backup
// folder: the program's own temporary names only, and only in real folders, as a link there may
// lead anywhere. For the holder of the Dump folder only.
void RemoveBackupLeftovers();
// <prog>Dump/Herstel.ini: the record of a run that has not been restored yet.
std::string RunRecordPath();

// What a restore needs to know, kept on disk from before the first route file is replaced until
// every file is back.
struct RunRecord {
    std::string route;
    std::string installRoot;
    Weather weather = Weather::Sun;
    int metres = 0;
    bool multiFileMode = false;
    std::vector<std::string> files;     // environment files still to put back, in slot order
    std::vector<std::string> textures;  // textures the run added: absent from the route before it
    // Route files that were symbolic links, by name: the link's target as stored. The restore
    // puts the link back instead of a copy of what it pointed to.
    std::map<std::string, std::string> links = {};
    // Files the run added for Open Rails, listed before any was written, and the folder it made
    // for them (paths under the route folder). A record without them restores as it always did.
    std::vector<AddedFile> added = {};
    std::vector<std::string> addedFolders = {};
    bool operator==(const RunRecord&) const = default;
};

// The record of an unrestored run, or nothing when there is none or it is not one a run can have
// written: unreadable (no regular file, too large), damaged, made for another simulator folder
// than the configured one, or naming anything but plain names, environment files of its weather
// and that weather's own textures.
std::optional<RunRecord> LoadRunRecord();

// Whether anything at all stands at the record's place, usable or not.
bool RunRecordPresent();

// A record on disk that LoadRunRecord refuses (whatever stands there: a file it cannot read, a
// folder, a link, a FIFO) is renamed aside (Herstel_ongeldig.ini, or with a number when that is
// taken), so that nothing it names is ever touched and nothing waits for it. Returns where the
// refused record is now (still Herstel.ini if it could not be renamed), or nothing when there was
// none.
std::optional<std::string> SetAsideRefusedRunRecord();

// Both of the above in one reading of the record: the usable record, or nothing after a refused
// one has been set aside (`setAsideAt` then says where it is now).
std::optional<RunRecord> LoadOrSetAsideRunRecord(std::optional<std::string>& setAsideAt);

// Writes the record atomically and reads it back; false when it is not on disk exactly as given.
bool SaveRunRecord(const RunRecord& record);

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

struct FogRunRequest {
    std::string installRoot;
    std::string route;
    Weather weather = Weather::Sun;
    int metres = 0;
    EnvFiles found;  // the discovery result for this route and weather
    // Also add fogged activity copies and a weather file for Open Rails, once the fog files are
    // in; `fogWord` goes into the copies' display names.
    bool openRails = false;
    std::string fogWord = {};
};

enum class RunOutcome {
    Installed,      // backed up, recorded, textures added, fog files installed
    BadRouteName,   // not a plain folder name; nothing touched
    NothingFound,   // no handled slot; nothing touched
    UnrestoredRun,  // a record (usable or not) still waits in Dump; nothing touched
    AlreadyFogged,  // a route file holds a prepared fog file already; nothing touched
    BackupFailed,   // a backup or the record could not be made; no route file changed
    InUse,          // another copy of the program holds the Dump folder; nothing touched
    InstallFailed,  // not every handled slot took the fog file; the route was put back
    LinkedFolder,   // the route's Envfiles folder lies behind a link in the route; nothing touched
};

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

// What a run leaves for the window.
struct RunReport {
    RunRecord record;  // Installed: the run as recorded
    // InstallFailed: the handled slots that did not take the fog file, the prepared file when it
    // could not be found, and what putting the route back left undone (the record stays then).
    std::vector<std::string> notInstalled;
    std::optional<std::string> missingFogFile;
    RestoreOutcome undo;
    // AlreadyFogged: the route files that hold a prepared fog file, and the record that puts
    // them back from their backups when no record is left to do it (see RecoveryRecord).
    std::vector<std::string> fogged;
    std::optional<RunRecord> recovery;
    // Installed with the Open Rails option: activity files left alone (no activity file, or a
    // name the record cannot hold), and added files that could not be written.
    std::vector<std::string> unreadableActivities;
    std::vector<std::string> notAdded;
};

// <installRoot>/Routes/<route>
std::string RouteFolder(std::string_view installRoot, std::string_view route);

// What a recorded run added for Open Rails, for its summary: the number of activity copies and
// the weather file's path under the route folder (empty when it has none).
struct OpenRailsFiles {
    std::size_t activityCopies = 0;
    std::string weatherFile;
};
OpenRailsFiles AddedForOpenRails(const RunRecord& record);

// Whether the file holds the bytes of one of the prepared fog files of any weather and level.
bool HoldsPreparedFogFile(std::string_view path);
// Which prepared fog file the file holds the bytes of, if any.
struct PreparedFog {
    Weather weather = Weather::Sun;
    int metres = 0;
    bool operator==(const PreparedFog&) const = default;
};
std::optional<PreparedFog> PreparedFogIn(std::string_view path);

// Whether the route's backup folder can be trusted with its backups: not a link (which may lead
// anywhere) and not the route's own folder or its Envfiles, where a backup would take the place
// of the file it keeps.
bool IsOwnBackupFolder(std::string_view installRoot, std::string_view route);

// Checks that the prepared fog file is there, that no handled route file holds fog already (its
// backup would replace the original's), and that the route's backup folder is the program's
// own (not a link, not the route's folder or its Envfiles, no backup the route's file itself);
// backs up every handled slot into it, all made durable together, and checks each backup against
// the route's file; writes the run record; adds the weather's textures that the route lacks and
// copies the prepared fog file over each handled slot, again as one batch. A run is installed
// only when every handled slot then holds the fog file's bytes; otherwise it is restored at once
// (files put back, added textures deleted, record removed).
RunOutcome RunFog(const FogRunRequest& request, const StepHook& hook = {},
                  RunReport* report = nullptr);

// Copies each backup back over the route's file (a route file that was a link gets its link back,
// in place of the run's fog file only) and deletes the textures the run added that still hold the
// shipped bytes, all made durable together, then removes the record once every file is back; until
// then the record keeps what is left. Nothing is written or deleted in a folder that a link inside
// the route leads to: what stands there is left and named. The record's InstallRoot is used: that
// is where the files were replaced. While another copy of the program holds the Dump folder nothing
// is touched and every file is left to retry.
RestoreOutcome RestoreFog(const RunRecord& record, const StepHook& hook = {});

}  // namespace fog
