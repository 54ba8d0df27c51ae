#include "core/fog/session.h"

#include <algorithm>

#include "core/fog/discovery.h"
#include "core/install/installation.h"
#include "core/platform/paths.h"

namespace fog {
namespace {

// The last part of an added file's path: the name the summary shows.
std::string LastPart(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

OpenRailsSummary SummaryOf(const RunRecord& record) {
    const OpenRailsFiles added = AddedForOpenRails(record);
    return {added.activityCopies,
            LastPart(added.weatherFile),
            {},
            install::IsContentFolder(record.installRoot)};
}

}  // namespace

std::vector<std::string> RouteFiles(const std::string& installRoot, const std::string& route,
                                    const std::vector<std::string>& names) {
    std::vector<std::string> paths;
    paths.reserve(names.size());
    for (const std::string& name : names)
        paths.push_back(platform::JoinPath(RouteEnvFolder(installRoot, route), name));
    return paths;
}

bool Session::openRails() const {
    return openRails_ || install::IsContentFolder(installRoot_);
}

void Session::clearRoute() {
    route_.clear();
    for (std::string& slot : envFiles_) slot.clear();
    multiFileMode_ = false;
}

RouteChoice Session::chooseRoute(const std::string& name, Weather weather) {
    clearRoute();
    route_ = name;
    // A path would take the run outside the Routes and backup folders.
    if (!IsPlainName(route_) || !EnvFolderFound(RouteEnvFolder(installRoot_, route_)))
        return RouteChoice::NotFound;
    const EnvFiles found =
        FindEnvFiles(RouteEnvFolder(installRoot_, route_) + platform::kPathSep, weather);
    for (std::size_t i = 0; i < found.names.size(); ++i) {
        if (!found.names[i].empty()) envFiles_[i] = found.names[i];
    }
    multiFileMode_ = found.multiFileMode;
    return found.missing ? RouteChoice::Unusable : RouteChoice::Chosen;
}

std::optional<RunRecord> Session::LoadRecord(std::optional<std::string>& setAsideAt) {
    return LoadOrSetAsideRunRecord(setAsideAt);
}

FogRunRequest Session::request(Weather weather, int metres, std::string fogWord) const {
    FogRunRequest request{installRoot_, route_, weather, metres, {}};
    request.found.names = envFiles_;
    request.found.multiFileMode = multiFileMode_;
    request.openRails = openRails();
    request.fogWord = std::move(fogWord);
    return request;
}

RunOutcome Session::make(const FogRunRequest& request, const StepHook& hook, RunReport& report) {
    openRailsSummary_.reset();
    const RunOutcome outcome = RunFog(request, hook, &report);
    if (outcome != RunOutcome::Installed) return outcome;
    currentRun_ = report.record;
    if (request.openRails) {
        openRailsSummary_ = SummaryOf(report.record);
        openRailsSummary_->contentFolder = install::IsContentFolder(request.installRoot);
        openRailsSummary_->skipped = report.unreadableActivities;
        for (const std::string& path : report.notAdded)
            openRailsSummary_->skipped.push_back(LastPart(path));
    }
    return outcome;
}

void Session::open(const RunRecord& record) {
    openRailsSummary_.reset();
    if (!record.added.empty()) openRailsSummary_ = SummaryOf(record);
    route_ = record.route;
    for (std::size_t i = 0; i < envFiles_.size(); ++i)
        envFiles_[i] = i < record.files.size() ? record.files[i] : "";
    multiFileMode_ = record.multiFileMode;
    currentRun_ = record;
}

void Session::close() {
    currentRun_.reset();
}

bool Session::restore(const RunRecord& record, const StepHook& hook, RestoreOutcome& outcome) {
    outcome = RestoreFog(record, hook);
    if (outcome.retry.empty() && outcome.addedRetry.empty()) return true;
    currentRun_ = record;
    currentRun_->files = outcome.retry;
    const std::string routeFolder = RouteFolder(record.installRoot, record.route);
    std::erase_if(currentRun_->added, [&](const AddedFile& file) {
        const std::string location = AddedFileLocation(routeFolder, file.path);
        return std::find(outcome.addedRetry.begin(), outcome.addedRetry.end(), location) ==
               outcome.addedRetry.end();
    });
    return false;
}

}  // namespace fog
