// A fog run plus its restore on a route with four 1 MiB environment files, against copying the
// same bytes with cp followed by sync. Prints the ratio of the two medians at the end.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>

#include "mist/fog_run.h"
#include "platform/paths.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kFileSize = 1 << 20;
const char* const kFiles[] = {"a_rain.env", "b_rain.env", "c_rain.env", "d_rain.env"};

void Write(const fs::path& file, std::size_t size, char fill) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << std::string(size, fill);
}

// A program folder with its fog data and a simulator tree with one route, removed at the end.
struct Scene {
    fs::path root = fs::temp_directory_path() / ("zel-bench-" + std::to_string(::getpid()));
    fs::path ts = root / "TS";
    fs::path env = ts / "Routes" / "R" / "Envfiles";
    Scene() {
        fs::create_directories(root / "Dump" / "Back_up");
        fs::create_directories(env / "Textures");
        platform::SetProgramFolder(root.string());
        Write(root / "Dump" / "rain" / "rain50.env", kFileSize, 'f');
        Write(root / "Dump" / "Textures" / "ZEL_snowsky.ace", 4096, 's');
        Write(root / "Dump" / "Textures" / "ZEL_snowskylo.ace", 4096, 's');
        char fill = 'a';
        for (const char* name : kFiles) Write(env / name, kFileSize, fill++);
    }
    ~Scene() { fs::remove_all(root); }
};

void FogRunAndRestore(benchmark::State& state) {
    Scene scene;
    const std::string root = scene.ts.string();
    for (auto _ : state) {
        const mist::FogRunRequest request{
            root, "R", mist::Weather::Rain, 50,
            mist::FindEnvFiles(mist::RouteEnvFolder(root, "R") + platform::kPathSep,
                               mist::Weather::Rain)};
        const auto ran = mist::RunFog(request);
        const auto record = mist::LoadRunRecord();
        if (ran != mist::RunOutcome::Installed || !record || record->files.size() != 4 ||
            !mist::RestoreFog(*record).Complete()) {
            state.SkipWithError("the fog run or its restore failed");
            break;
        }
    }
}

void CopyAndSync(benchmark::State& state) {
    Scene scene;
    const fs::path target = scene.root / "copy";
    fs::create_directories(target);
    std::string command = "cp";
    for (const char* name : kFiles) command += " '" + (scene.env / name).string() + "'";
    command += " '" + target.string() + "/' && sync";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("cp or sync failed");
            break;
        }
    }
}

BENCHMARK(FogRunAndRestore)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(CopyAndSync)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

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
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto run = reporter.medians.find("FogRunAndRestore");
    const auto copy = reporter.medians.find("CopyAndSync");
    if (run != reporter.medians.end() && copy != reporter.medians.end() && copy->second > 0) {
        std::cout << "median ratio fog run + restore / cp + sync: " << run->second / copy->second
                  << "\n";
    }
    benchmark::Shutdown();
    return 0;
}
