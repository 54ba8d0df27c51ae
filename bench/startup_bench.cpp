// Start-up time and peak memory of the program against a bare Qt window, in the same run.
// Each iteration starts a fresh process and waits for it to quit after its first frame.
// Run with QT_QPA_PLATFORM=offscreen (or under a display), e.g.
//   zel_bench_startup --benchmark_repetitions=15 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct RunResult {
    double seconds;
    long peakKiB;
};

RunResult RunOnce(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0) {
        throw std::runtime_error("cannot start " + argv[0]);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(argv[0] + " failed");
    return {std::chrono::duration<double>(end - start).count(), usage.ru_maxrss};
}

// A program folder with settings present, so no modal window opens, and a small simulator.
std::string PrepareProgramFolder() {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / "zel-bench-startup";
    fs::remove_all(root);
    fs::create_directories(root / "program");
    fs::copy(ZEL_PROGRAM_DIR, root / "program", fs::copy_options::recursive);
    const fs::path ts = root / "TS";
    for (const char* route : {"Noordlijn", "Kustbaan", "Bergroute"}) {
        fs::create_directories(ts / "Routes" / route / "Envfiles");
    }
    std::ofstream(ts / "train.exe") << "MZ";
    std::ofstream(root / "program" / "Dump" / "All_dat.ini")
        << "[Programma]\r\nTaalkeuze=Nederlands\r\nTaalscherm=1\r\n[msts locatie]\r\nPad="
        << ts.string() << "\r\n";
    return (root / "program").string();
}

void Measure(benchmark::State& state, const std::vector<std::string>& argv) {
    long peak = 0;
    for (auto _ : state) {
        const RunResult r = RunOnce(argv);
        state.SetIterationTime(r.seconds);
        peak = std::max(peak, r.peakKiB);
    }
    state.counters["peak_KiB"] = double(peak);
}

void BM_BareWindow(benchmark::State& state) {
    Measure(state, {ZEL_BARE_PROBE});
}

void BM_ZelNevora(benchmark::State& state) {
    static const std::string folder = PrepareProgramFolder();
    Measure(state, {ZEL_STARTUP_PROBE, folder});
}

}  // namespace

BENCHMARK(BM_BareWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ZelNevora)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

BENCHMARK_MAIN();
