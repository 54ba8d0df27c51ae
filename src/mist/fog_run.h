#pragma once
// The fog run and its restore. The route's own files are never at risk: every backup is checked
// before anything is replaced, the run is recorded on disk before the first route file changes,
// and every replacement is atomic, so a crash at any point can be undone by a later restore.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mist/discovery.h"
#include "mist/weather.h"

namespace mist {

// One plain folder name: not empty, not "." or "..", no separator of either kind, no drive colon,
// wildcard or control character, and no trailing blank or dot (Windows drops those, so the name
// would stand for another folder). Anything else could reach outside the Routes or backup folders.
bool IsPlainRouteName(std::string_view route);

// <installRoot>/Routes/<route>/Envfiles, without a trailing separator.
std::string RouteEnvFolder(std::string_view installRoot, std::string_view route);
// <prog>Dump/Back_up/<route>
std::string RouteBackupFolder(std::string_view route);
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
    bool operator==(const RunRecord&) const = default;
};

// The record of an unrestored run, or nothing when there is none or it cannot be understood (a
// damaged record is then replaced by the next run).
std::optional<RunRecord> LoadRunRecord();

// Writes the record atomically and reads it back; false when it is not on disk exactly as given.
bool SaveRunRecord(const RunRecord& record);

// Points where a run or a restore reports progress; fault-injection tests stop the process there.
// A "staged" file is written beside its target but has not replaced anything yet.
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
    RecordRemoved
};
using StepHook = std::function<void(Step step, std::size_t index)>;

struct FogRunRequest {
    std::string installRoot;
    std::string route;
    Weather weather = Weather::Sun;
    int metres = 0;
    EnvFiles found;  // the discovery result for this route and weather
};

enum class RunOutcome {
    Installed,      // backed up, recorded, textures added, fog files installed
    BadRouteName,   // not a plain folder name; nothing touched
    NothingFound,   // no handled slot; nothing touched
    UnrestoredRun,  // a recorded run still waits for its restore; nothing touched
    BackupFailed,   // a backup or the record could not be made; no route file changed
    InUse,          // another copy of the program holds the Dump folder; nothing touched
};

// Backs up every handled slot into the route's backup folder, all made durable together, and
// checks each backup against the route's file; writes the run record; adds the weather's textures
// that the route lacks and copies the prepared fog file over each handled slot, again as one
// batch. A missing prepared file leaves the route's file as it was.
RunOutcome RunFog(const FogRunRequest& request, const StepHook& hook = {});

struct RestoreOutcome {
    // Not put back and never can be: the backup is missing or unreadable, or the route's Envfiles
    // folder is gone. Reported once and dropped from the record, so nobody is held up for ever.
    std::vector<std::string> lost;
    // Not put back now although the backup is there (e.g. a read-only route file holding fog);
    // the record keeps them for another try.
    std::vector<std::string> retry;
    bool Complete() const { return lost.empty() && retry.empty(); }
};

// Copies each backup back over the route's file and deletes the textures the run added, all made
// durable together, then removes the record once nothing is left to retry. The record's
// InstallRoot is used: that is where the files were replaced. While another copy of the program
// holds the Dump folder nothing is touched and every file is left to retry.
RestoreOutcome RestoreFog(const RunRecord& record, const StepHook& hook = {});

}  // namespace mist
