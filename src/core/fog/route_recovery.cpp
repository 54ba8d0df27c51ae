#include "core/fog/route_recovery.h"

#include <algorithm>

#include "core/fog/dump_lock.h"
#include "core/fog/openrails/openrails_files.h"
#include "core/platform/files.h"
#include "core/platform/paths.h"

namespace fog {

namespace {

// Whether every file holds the fog and has a backup that can put the route's own file back.
bool BackupsCanPutBack(const std::string& installRoot, const std::string& route,
                       const std::vector<std::string>& names, const PreparedFog& fog) {
    using platform::JoinPath;
    const std::string envFolder = RouteEnvFolder(installRoot, route);
    const std::string backupFolder = RouteBackupFolder(route);
    if (names.empty() || !IsOwnBackupFolder(installRoot, route)) return false;
    return std::all_of(names.begin(), names.end(), [&](const std::string& name) {
        const std::string file = JoinPath(envFolder, name);
        const std::string backup = JoinPath(backupFolder, name);
        // A backup that is a link, the route's file itself or a fog file is no original.
        return PreparedFogIn(file) == fog && platform::IsFile(backup) &&
               !platform::IsLink(backup) && !platform::SameFile(file, backup) &&
               !HoldsPreparedFogFile(backup);
    });
}

}  // namespace

std::optional<RunRecord> RecoveryRecord(const FogRunRequest& request,
                                        const std::vector<std::string>& fogged) {
    using platform::JoinPath;
    if (fogged.empty() || RunRecordPresent()) return std::nullopt;
    const std::optional<PreparedFog> fog =
        PreparedFogIn(JoinPath(RouteEnvFolder(request.installRoot, request.route), fogged[0]));
    // Fog of another weather would not be the fog of a run that found these names.
    if (!fog || fog->weather != request.weather ||
        !BackupsCanPutBack(request.installRoot, request.route, fogged, *fog))
        return std::nullopt;

    RunRecord record{request.route,
                     request.installRoot,
                     fog->weather,
                     fog->metres,
                     request.found.multiFileMode,
                     fogged,
                     {}};
    // Whether the run added a texture or found it there cannot be told any more; one that still
    // holds the shipped bytes is the program's own either way.
    const std::string textures =
        JoinPath(RouteEnvFolder(request.installRoot, request.route), "Textures");
    for (std::string_view texture : TexturesFor(fog->weather)) {
        const std::string path = JoinPath(textures, texture);
        if (!platform::IsLink(path) &&
            platform::SameFileBytes(JoinPath(platform::DumpPath("Textures"), texture), path))
            record.textures.emplace_back(texture);
    }
    const std::string routeFolder = RouteFolder(request.installRoot, request.route);
    record.added = FindAddedFiles(routeFolder, fog->weather, fog->metres, request.fogWord);
    // The weather files folder goes with the run's weather file, but only once it is empty.
    for (const AddedFile& file : record.added) {
        const std::string folder = file.path.substr(0, file.path.find('/'));
        if (IsAddedFolder(folder) && record.addedFolders.empty())
            record.addedFolders.push_back(folder);
    }
    return record;
}

std::optional<RestoreOutcome> RecoverRoute(const RunRecord& record, const StepHook& hook) {
    // The box that offered this may have stood open for a while.
    if (!ClaimDumpFolder() || RunRecordPresent() ||
        !BackupsCanPutBack(record.installRoot, record.route, record.files,
                           {record.weather, record.metres}))
        return std::nullopt;
    if (!SaveRunRecord(record)) {
        platform::DeleteFile(RunRecordPath());  // whatever was written is not this record
        return std::nullopt;
    }
    if (hook) hook(Step::RecordWritten, 0);
    return RestoreFog(record, hook);
}

}  // namespace fog
