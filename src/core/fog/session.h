#pragma once
// What the main window's fog page works on, without its widgets: the simulator folder, the chosen
// route and its files, the run the completion page stands for and the Open Rails choice. The page
// asks it to choose a route, make the fog, restore and resume a run left open; each answer is a
// typed outcome that the page turns into its message.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/fog/fog_run.h"
#include "core/fog/route_recovery.h"

namespace fog {

enum class RouteChoice {
    Chosen,
    NotFound,  // a path rather than a folder name, or a route without its Envfiles folder
    Unusable,  // a file the weather needs is missing (the files found so far stay chosen)
};

// What the summary says of a run's Open Rails files.
struct OpenRailsSummary {
    std::size_t activityCopies = 0;
    std::string weatherFile;           // its name, empty when none was added
    std::vector<std::string> skipped;  // activities not read, files not written
    bool contentFolder = false;        // an Open Rails content folder: where the fog shows
};

class Session {
  public:
    // The simulator or content folder, as stored.
    void setInstallRoot(std::string installRoot) { installRoot_ = std::move(installRoot); }
    const std::string& installRoot() const { return installRoot_; }
    // The menu's choice. A content folder always gets the Open Rails files: Open Rails never
    // takes its fog from the environment files.
    void setOpenRails(bool on) { openRails_ = on; }
    bool openRails() const;

    // Takes the route of that folder name and finds its files for the weather.
    RouteChoice chooseRoute(const std::string& name, Weather weather);
    const std::string& route() const { return route_; }
    // Forgets the chosen route and its files (the user's text names none).
    void clearRoute();

    // The record in Dump, read once; one that cannot be trusted is set aside, and `setAsideAt`
    // says where.
    static std::optional<RunRecord> LoadRecord(std::optional<std::string>& setAsideAt);

    // The run for the chosen route and files.
    FogRunRequest request(Weather weather, int metres, std::string fogWord) const;
    // Makes the fog; once it is installed the session holds the run and its summary.
    RunOutcome make(const FogRunRequest& request, const StepHook& hook, RunReport& report);

    // The run the completion page stands for: one found on disk, or after a restore that left
    // files to try again.
    void open(const RunRecord& record);
    // Back to choosing: no run.
    void close();
    bool filesReplaced() const { return currentRun_.has_value(); }
    const std::optional<RunRecord>& currentRun() const { return currentRun_; }
    const std::optional<OpenRailsSummary>& openRailsSummary() const { return openRailsSummary_; }

    // Puts a run back; true when nothing is left to try again. Otherwise the session holds the
    // run narrowed to what is left.
    bool restore(const RunRecord& record, const StepHook& hook, RestoreOutcome& outcome);

  private:
    std::string installRoot_;
    std::string route_;
    std::array<std::string, 4> envFiles_;  // the slots of the route's files a run replaces
    bool multiFileMode_ = false;
    bool openRails_ = false;
    std::optional<RunRecord> currentRun_;
    std::optional<OpenRailsSummary> openRailsSummary_;
};

// Environment files of a route, by full path.
std::vector<std::string> RouteFiles(const std::string& installRoot, const std::string& route,
                                    const std::vector<std::string>& names);

}  // namespace fog
