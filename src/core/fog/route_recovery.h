#pragma once
// Putting a route back when its fog's record is gone (damaged and set aside, or deleted) while
// the backups of its files are still in this Dump folder. The way back is an ordinary restore of
// a record worked out from what is on disk, written before anything changes, so it is checked,
// crash-safe and resumable like any other.
#include <optional>
#include <string>
#include <vector>

#include "core/fog/fog_run.h"
#include "core/fog/restore.h"
#include "core/fog/run_record.h"

namespace fog {

// The record that puts back the route files a run found holding fog (`fogged`, of the request's
// route and weather), or nothing unless: no record waits in Dump, every fogged file holds the
// same prepared fog file of the request's weather, and the route's own backup folder holds for
// each a plain file of that name that is no fog file. It lists as well the weather's textures and
// the Open Rails files of that fog that still hold the bytes a run writes (with the request's fog
// word), so the restore takes them away too.
std::optional<RunRecord> RecoveryRecord(const FogRunRequest& request,
                                        const std::vector<std::string>& fogged);

// Checks the route and its backups again, writes the record and restores it; nothing when the
// record could not be written or the route no longer fits it (nothing is changed then).
std::optional<RestoreOutcome> RecoverRoute(const RunRecord& record, const StepHook& hook = {});

}  // namespace fog
