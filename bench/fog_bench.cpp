// A fog run plus its restore on a route with four 1 MiB environment files, against copying the
// same bytes with cp followed by sync. Prints the ratios of the medians at the end.
//
// What each side writes per iteration:
// - FogRunAndRestore: four backups (4 MiB; kept without rewriting when the backup already holds
//   the route file's bytes, as after the previous iteration's restore), two textures (8 KiB), the
//   run record, four fog files (4 MiB), four files put back (4 MiB); every one flushed to disk.
// - FogRunAndRestoreFirstTime: the same with no backups from before (the folder is emptied
//   outside the timing), so all 12 MiB are written.
// - CopySameBytesAndSync: one cp of fourteen files holding those bytes (12 MiB + 8 KiB), then
//   sync. Fair to the reference: as many files and bytes, one cp process, nothing skipped.
// - CopyRouteFilesAndSync: the earlier reference, cp of the four route files (4 MiB) and sync.
// - OpenRailsRunAndRestore: FogRunAndRestore with the Open Rails option on a route with 200
//   activities of about 50 KB: also 200 fogged copies (about 10 MiB) and a weather file written
//   new, each flushed, then read back, checked and deleted by the restore.
// - CopyOpenRailsBytesAndSync: one cp of what that run writes (the fourteen files above plus 200
//   files of the copies' sizes and the weather file), then sync; into the route's Activities
//   folder, where the run writes its copies, the copied files deleted outside the timing, as the
//   run's copies are new files each time in a folder where the restore deleted the last ones
//   (cp over files it made before would only rewrite them, which costs a file system far less
//   than making new ones; and what making one costs depends on what was deleted near it).
// - ManyActivitiesRunAndRestore and CopyManyActivitiesBytesAndSync: the same two on a route of
//   10,000 activities of about 3 KB, where the run record lists 10,001 files; one iteration per
//   repetition, on one route made and flushed beforehand.
// - LeastRunAndRestore: the least that any fog run plus restore must write, as a floor for the
//   ratio against CopyRouteFilesAndSync: a record, then the four fog files over the route files,
//   then the four originals back, each through a temporary file flushed and renamed into place
//   and its folder flushed after them; then the record removed. No check, no backup, no texture:
//   twice the bytes of that reference, in three steps each made durable before the next.
// sync flushes the whole machine: other work on a shared machine slows the references too.
// Repetitions of all cases run interleaved, so both sides see the same load.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/fog/fog_run.h"
#include "core/fog/restore.h"
#include "core/fog/run_record.h"
#include "core/platform/files.h"
#include "core/platform/parallel.h"
#include "core/platform/paths.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kFileSize = 1 << 20;
constexpr std::size_t kTextureSize = 4096;
const char* const kFiles[] = {"a_rain.env", "b_rain.env", "c_rain.env", "d_rain.env"};
const char* const kTextures[] = {"ZEL_snowsky.ace", "ZEL_snowskylo.ace"};
constexpr int kActivities = 200;
constexpr int kManyActivities = 10000;
// Characters of an activity's text; in UTF-16 each takes two bytes.
constexpr std::size_t kActivityText = 25000;
constexpr std::size_t kSmallActivityText = 1500;

// An activity as the activity editor writes it (UTF-16LE, CRLF): a header and enough events to
// fill about twice `textSize` bytes.
std::string Activity(int n, std::size_t textSize) {
    std::string text =
        "SIMISA@@@@@@@@@@JINX0a0t______\r\n\r\nTr_Activity (\r\n"
        "\tTr_Activity_Header (\r\n\t\tName ( \"Activity " +
        std::to_string(n) +
        "\" )\r\n\t\tWeather ( 0 )\r\n\t)\r\n"
        "\tTr_Activity_File (\r\n\t\tEvents (\r\n";
    for (int id = 1; text.size() < textSize; ++id) {
        text +=
            "\t\t\tEventCategoryLocation (\r\n\t\t\t\tEventTypeLocation ( )\r\n"
            "\t\t\t\tID ( " +
            std::to_string(id) +
            " )\r\n\t\t\t\tActivation_Level ( 1 )\r\n"
            "\t\t\t\tOutcomes (\r\n\t\t\t\t\tDisplayMessage ( \"Slow down\" )\r\n"
            "\t\t\t\t)\r\n\t\t\t\tName ( Event )\r\n"
            "\t\t\t\tLocation ( -6131 14888 -345.2 552.1 40 )\r\n\t\t\t)\r\n";
    }
    text += "\t\t)\r\n\t)\r\n)";
    std::string utf16 = "\xFF\xFE";
    for (char c : text) utf16 += {c, '\0'};
    return utf16;
}

void Write(const fs::path& file, std::size_t size, char fill) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << std::string(size, fill);
}

// Deletes side by side: a file system that discards freed blocks makes each deletion wait.
void RemoveFiles(const std::vector<fs::path>& files) {
    platform::ForEachIndex(files.size(), 16, 8, [&](std::size_t i) {
        std::error_code ignored;
        fs::remove(files[i], ignored);
    });
}

std::vector<fs::path> FilesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(folder, ignored))
        if (entry.is_regular_file()) files.push_back(entry.path());
    return files;
}

// A program folder with its fog data, a simulator tree with one route, and the sources of the
// reference copies; removed at the end.
struct Scene {
    fs::path root;
    fs::path ts = root / "TS";
    fs::path env = ts / "Routes" / "R" / "Envfiles";
    fs::path sameBytes = root / "same-bytes";  // what a fog run and its restore write
    explicit Scene(const std::string& name = "")
        : root(fs::temp_directory_path() / ("zel-bench-" + std::to_string(::getpid()) + name)) {
        fs::create_directories(root / "Dump" / "Back_up");
        fs::create_directories(env / "Textures");
        platform::SetProgramFolder(root.string());
        std::ofstream(root / "Dump" / "All_dat.ini")
            << "[msts locatie]\r\nPad=" << ts.string() << "\r\n";
        Write(root / "Dump" / "rain" / "rain50.env", kFileSize, 'f');
        for (const char* texture : kTextures) {
            Write(root / "Dump" / "Textures" / texture, kTextureSize, 's');
            Write(sameBytes / texture, kTextureSize, 's');
        }
        char fill = 'a';
        for (const char* name : kFiles) {
            Write(env / name, kFileSize, fill);
            Write(sameBytes / (std::string("backup_") + name), kFileSize, fill);
            Write(sameBytes / (std::string("fog_") + name), kFileSize, 'f');
            Write(sameBytes / (std::string("put_back_") + name), kFileSize, fill);
            ++fill;
        }
    }
    ~Scene() {
        RemoveFiles(FilesIn(activities));
        RemoveFiles(FilesIn(openRailsBytes));
        fs::remove_all(root);
    }

    // The route's activities, and beside the same bytes what the Open Rails files will hold.
    fs::path activities = ts / "Routes" / "R" / "Activities";
    fs::path openRailsBytes = root / "same-bytes-or";
    int activityCount = 0;
    void AddActivities(int count, std::size_t textSize) {
        activityCount = count;
        fs::create_directories(activities);
        fs::create_directories(openRailsBytes);
        fs::copy(sameBytes, openRailsBytes, fs::copy_options::recursive);
        for (int n = 0; n < count; ++n) {
            const std::string bytes = Activity(n, textSize);
            const std::string name = "activity" + std::to_string(n);
            std::ofstream(activities / (name + ".act"), std::ios::binary) << bytes;
            // The copy is the activity and about 700 bytes of event and name.
            std::ofstream(openRailsBytes / (name + "_copy.act"), std::ios::binary)
                << bytes << std::string(700, 'e');
        }
        Write(openRailsBytes / "ZEL_Nevora_rain_50m.weather-or", 220, 'w');
    }
};

// The route of 10,000 activities takes long to write and longer to delete: it is made once, for
// both of its cases, and flushed before the first.
Scene& ManyActivitiesScene() {
    static const std::unique_ptr<Scene> scene = [] {
        auto made = std::make_unique<Scene>("-many");
        made->AddActivities(kManyActivities, kSmallActivityText);
        ::sync();
        return made;
    }();
    return *scene;
}

void RunAndRestore(benchmark::State& state, Scene& scene, bool firstTime = false) {
    platform::SetProgramFolder(scene.root.string());
    const bool openRails = scene.activityCount > 0;
    const std::string root = scene.ts.string();
    for (auto _ : state) {
        if (firstTime) {
            state.PauseTiming();
            fs::remove_all(scene.root / "Dump" / "Back_up" / "R");
            state.ResumeTiming();
        }
        fog::FogRunRequest request{
            root, "R", fog::Weather::Rain, 50,
            fog::FindEnvFiles(fog::RouteEnvFolder(root, "R") + platform::kPathSep,
                              fog::Weather::Rain)};
        request.openRails = openRails;
        request.fogWord = "mist";
        const auto ran = fog::RunFog(request);
        const auto record = fog::LoadRunRecord();
        const std::size_t added = openRails ? scene.activityCount + 1 : 0;
        if (ran != fog::RunOutcome::Installed || !record || record->files.size() != 4 ||
            record->textures.size() != 2 || record->added.size() != added ||
            !fog::RestoreFog(*record).Complete()) {
            state.SkipWithError("the fog run or its restore failed");
            break;
        }
    }
}

void FogRunAndRestore(benchmark::State& state) {
    Scene scene;
    RunAndRestore(state, scene);
}

void FogRunAndRestoreFirstTime(benchmark::State& state) {
    Scene scene;
    RunAndRestore(state, scene, true);
}

void OpenRailsRunAndRestore(benchmark::State& state) {
    Scene scene;
    scene.AddActivities(kActivities, kActivityText);
    RunAndRestore(state, scene);
}

void ManyActivitiesRunAndRestore(benchmark::State& state) {
    RunAndRestore(state, ManyActivitiesScene());
}

void CopyAndSync(benchmark::State& state, Scene& scene, const std::string& sources) {
    const bool openRails = scene.activityCount > 0;
    // Into the folder the run writes to: a file system allocates a new file near its folder,
    // and what that costs depends on what was deleted there lately.
    const fs::path target = openRails ? scene.activities : scene.root / "copy";
    fs::create_directories(target);
    std::vector<fs::path> copied;
    if (openRails)
        for (const auto& entry : fs::directory_iterator(scene.openRailsBytes))
            copied.push_back(target / entry.path().filename());
    const std::string command =
        "cd '" + scene.root.string() + "' && cp " + sources + " '" + target.string() + "/' && sync";
    for (auto _ : state) {
        if (openRails) {
            state.PauseTiming();
            RemoveFiles(copied);
            state.ResumeTiming();
        }
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("cp or sync failed");
            break;
        }
    }
    RemoveFiles(copied);  // a shared route must hold only its own activities for the run
}

void CopySameBytesAndSync(benchmark::State& state) {
    Scene scene;
    CopyAndSync(state, scene, "same-bytes/*");
}

void CopyRouteFilesAndSync(benchmark::State& state) {
    std::string sources;
    for (const char* name : kFiles) sources += std::string(" TS/Routes/R/Envfiles/") + name;
    Scene scene;
    CopyAndSync(state, scene, sources);
}

void CopyOpenRailsBytesAndSync(benchmark::State& state) {
    Scene scene;
    scene.AddActivities(kActivities, kActivityText);
    CopyAndSync(state, scene, "same-bytes-or/*");
}

void CopyManyActivitiesBytesAndSync(benchmark::State& state) {
    // The folder rather than 10,000 names on the command line; the same one cp.
    CopyAndSync(state, ManyActivitiesScene(), "-r same-bytes-or/.");
}

// Flushes the open file or folder and closes it; false when either fails.
bool FlushAndClose(int fd) {
    const bool flushed = fd >= 0 && ::fsync(fd) == 0;
    return fd >= 0 && ::close(fd) == 0 && flushed;
}

bool FlushFolder(const fs::path& folder) {
    return FlushAndClose(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

// Puts each of `files` (a name and its bytes) in `folder` through a temporary file, written and
// started to disk one after the other, all flushed, then renamed into place; then the folder.
bool ReplaceDurably(const fs::path& folder,
                    const std::vector<std::pair<std::string, const std::string*>>& files) {
    auto temp = [&folder](const std::string& name) { return folder / ("." + name + ".tmp"); };
    std::vector<int> handles;
    bool ok = true;
    for (const auto& [name, bytes] : files) {
        const int fd = ::open(temp(name).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        ok = ok && fd >= 0 &&
             ::write(fd, bytes->data(), bytes->size()) == static_cast<ssize_t>(bytes->size()) &&
             ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE) == 0;
        handles.push_back(fd);
    }
    for (const int fd : handles) ok = FlushAndClose(fd) && ok;
    for (const auto& [name, bytes] : files)
        ok = ok && ::rename(temp(name).c_str(), (folder / name).c_str()) == 0;
    return ok && FlushFolder(folder);
}

void LeastRunAndRestore(benchmark::State& state) {
    Scene scene;
    const fs::path recordPath = fog::RunRecordPath();  // in the scene's program folder
    const fs::path dump = recordPath.parent_path();
    const std::string fog(kFileSize, 'f'), record(220, 'r'), recordName = recordPath.filename();
    std::vector<std::string> originals;
    std::vector<std::pair<std::string, const std::string*>> fogIn, putBack;
    for (const char* name : kFiles) {
        const auto bytes = platform::ReadFileBytes((scene.env / name).string());
        if (!bytes) return state.SkipWithError("a route file cannot be read");
        originals.push_back(*bytes);
    }
    for (std::size_t i = 0; i < std::size(kFiles); ++i) {
        fogIn.emplace_back(kFiles[i], &fog);
        putBack.emplace_back(kFiles[i], &originals[i]);
    }
    for (auto _ : state) {
        if (!ReplaceDurably(dump, {{recordName, &record}}) || !ReplaceDurably(scene.env, fogIn) ||
            !ReplaceDurably(scene.env, putBack) || ::unlink((dump / recordName).c_str()) != 0 ||
            !FlushFolder(dump)) {
            state.SkipWithError("a durable replacement failed");
            break;
        }
    }
}

#define ZEL_FOG_BENCHMARK(name) \
    BENCHMARK(name)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(9)
// Seconds each: one iteration per repetition.
#define ZEL_FOG_BENCHMARK_ONCE(name) ZEL_FOG_BENCHMARK(name)->Iterations(1)

ZEL_FOG_BENCHMARK(FogRunAndRestore);
ZEL_FOG_BENCHMARK(FogRunAndRestoreFirstTime);
ZEL_FOG_BENCHMARK(CopySameBytesAndSync);
ZEL_FOG_BENCHMARK(CopyRouteFilesAndSync);
ZEL_FOG_BENCHMARK(LeastRunAndRestore);
ZEL_FOG_BENCHMARK(OpenRailsRunAndRestore);
ZEL_FOG_BENCHMARK(CopyOpenRailsBytesAndSync);
ZEL_FOG_BENCHMARK_ONCE(ManyActivitiesRunAndRestore);
ZEL_FOG_BENCHMARK_ONCE(CopyManyActivitiesBytesAndSync);

// Keeps the medians as the console reporter prints them.
class MedianReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> medians;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.aggregate_name == "median")
                medians[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv) {
    // Interleaved unless the command line says otherwise; aggregates only, to keep it readable.
    std::vector<char*> args(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    std::string aggregates = "--benchmark_report_aggregates_only=true";
    args.insert(args.begin() + 1, {interleave.data(), aggregates.data()});
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto ratio = [&](const char* run, const char* copy) {
        const auto r = reporter.medians.find(run), c = reporter.medians.find(copy);
        if (r == reporter.medians.end() || c == reporter.medians.end() || c->second <= 0) return;
        std::cout << "median ratio " << run << " / " << copy << ": " << r->second / c->second
                  << "\n";
    };
    ratio("FogRunAndRestore", "CopySameBytesAndSync");
    ratio("FogRunAndRestoreFirstTime", "CopySameBytesAndSync");
    ratio("FogRunAndRestore", "CopyRouteFilesAndSync");
    ratio("LeastRunAndRestore", "CopyRouteFilesAndSync");
    ratio("OpenRailsRunAndRestore", "CopyOpenRailsBytesAndSync");
    ratio("ManyActivitiesRunAndRestore", "CopyManyActivitiesBytesAndSync");
    benchmark::Shutdown();
    return 0;
}
