#pragma once
// The fog run: the route's environment files backed up, then the prepared fog file copied over
// them. The route's own files are never at risk: every backup is checked before anything is
// replaced, the run is recorded on disk before the first route file changes, and every
// replacement is atomic, so a crash at any point can be undone by a later restore (restore.h).
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/fog/discovery.h"
#include "core/fog/restore.h"
#include "core/fog/run_record.h"
#include "core/fog/weather.h"

namespace fog {

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
// Removes what backups cut short (the program ended by force) left in every route's backup
// folder: the program's own temporary names only, and only in real folders, as a link there may
// lead anywhere. For the holder of the Dump folder only.
void RemoveBackupLeftovers();

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

}  // namespace fog
