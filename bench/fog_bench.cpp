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
// sync flushes the whole machine: other work on a shared machine slows the references too.
// Repetitions of the four run interleaved, so both sides see the same load.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>

#include "fog/fog_run.h"
#include "platform/paths.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kFileSize = 1 << 20;
constexpr std::size_t kTextureSize = 4096;
const char* const kFiles[] = {"a_rain.env", "b_rain.env", "c_rain.env", "d_rain.env"};
const char* const kTextures[] = {"ZEL_snowsky.ace", "ZEL_snowskylo.ace"};
constexpr int kActivities = 200;

// An activity of about 50 KB as the activity editor writes it (UTF-16LE, CRLF): a header and
// enough events to fill it.
std::string Activity(int n) {
    std::string text =
        "SIMISA@@@@@@@@@@JINX0a0t______\r\n\r\nTr_Activity (\r\n"
        "\tTr_Activity_Header (\r\n\t\tName ( \"Activity " +
        std::to_string(n) +
        "\" )\r\n\t\tWeather ( 0 )\r\n\t)\r\n"
        "\tTr_Activity_File (\r\n\t\tEvents (\r\n";
    for (int id = 1; text.size() < 25000; ++id) {
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

// A program folder with its fog data, a simulator tree with one route, and the sources of the
// reference copies; removed at the end.
struct Scene {
    fs::path root = fs::temp_directory_path() / ("zel-bench-" + std::to_string(::getpid()));
    fs::path ts = root / "TS";
    fs::path env = ts / "Routes" / "R" / "Envfiles";
    fs::path sameBytes = root / "same-bytes";  // what a fog run and its restore write
    Scene() {
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
    ~Scene() { fs::remove_all(root); }

    // The route's activities, and beside the same bytes what the Open Rails files will hold.
    fs::path activities = ts / "Routes" / "R" / "Activities";
    fs::path openRailsBytes = root / "same-bytes-or";
    void AddActivities() {
        fs::create_directories(activities);
        fs::create_directories(openRailsBytes);
        fs::copy(sameBytes, openRailsBytes, fs::copy_options::recursive);
        for (int n = 0; n < kActivities; ++n) {
            const std::string bytes = Activity(n);
            const std::string name = "activity" + std::to_string(n);
            std::ofstream(activities / (name + ".act"), std::ios::binary) << bytes;
            // The copy is the activity and about 700 bytes of event and name.
            std::ofstream(openRailsBytes / (name + "_copy.act"), std::ios::binary)
                << bytes << std::string(700, 'e');
        }
        Write(openRailsBytes / "ZEL_Nevora_rain_50m.weather-or", 220, 'w');
    }
};

void RunAndRestore(benchmark::State& state, bool firstTime, bool openRails = false) {
    Scene scene;
    if (openRails) scene.AddActivities();
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
        const std::size_t added = openRails ? kActivities + 1 : 0;
        if (ran != fog::RunOutcome::Installed || !record || record->files.size() != 4 ||
            record->textures.size() != 2 || record->added.size() != added ||
            !fog::RestoreFog(*record).Complete()) {
            state.SkipWithError("the fog run or its restore failed");
            break;
        }
    }
}

void FogRunAndRestore(benchmark::State& state) {
    RunAndRestore(state, false);
}

void FogRunAndRestoreFirstTime(benchmark::State& state) {
    RunAndRestore(state, true);
}

void OpenRailsRunAndRestore(benchmark::State& state) {
    RunAndRestore(state, false, true);
}

void CopyAndSync(benchmark::State& state, const std::string& sources, bool openRails = false) {
    Scene scene;
    if (openRails) scene.AddActivities();
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
            for (const fs::path& file : copied) fs::remove(file);
            state.ResumeTiming();
        }
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("cp or sync failed");
            break;
        }
    }
}

void CopySameBytesAndSync(benchmark::State& state) {
    CopyAndSync(state, "same-bytes/*");
}

void CopyOpenRailsBytesAndSync(benchmark::State& state) {
    CopyAndSync(state, "same-bytes-or/*", true);
}

void CopyRouteFilesAndSync(benchmark::State& state) {
    std::string sources;
    for (const char* name : kFiles) sources += std::string(" TS/Routes/R/Envfiles/") + name;
    CopyAndSync(state, sources);
}

#define ZEL_FOG_BENCHMARK(name) \
    BENCHMARK(name)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(9)

ZEL_FOG_BENCHMARK(FogRunAndRestore);
ZEL_FOG_BENCHMARK(FogRunAndRestoreFirstTime);
ZEL_FOG_BENCHMARK(CopySameBytesAndSync);
ZEL_FOG_BENCHMARK(CopyRouteFilesAndSync);
ZEL_FOG_BENCHMARK(OpenRailsRunAndRestore);
ZEL_FOG_BENCHMARK(CopyOpenRailsBytesAndSync);

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
    ratio("OpenRailsRunAndRestore", "CopyOpenRailsBytesAndSync");
    benchmark::Shutdown();
    return 0;
}
