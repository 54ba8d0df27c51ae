// FillRouteList over a Routes folder of 5,000 route folders.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <filesystem>

#include "app/MainWindow.h"
#include "platform/paths.h"

namespace fs = std::filesystem;

namespace {

void BM_FillRouteList5000(benchmark::State& state) {
    const fs::path root = fs::temp_directory_path() / "zel-bench-routes";
    fs::remove_all(root);
    for (int i = 0; i < 5000; ++i) fs::create_directories(root / "Routes" / ("Route " + std::to_string(i)));
    fs::create_directories(root / "program" / "Dump");
    platform::SetProgramFolder((root / "program").string());
    MainWindow form;
    form.ApplyLanguage("Nederlands");
    for (auto _ : state) {
        form.FillRouteList((root / "Routes").string(), form.routeBox);
        benchmark::DoNotOptimize(form.routeBox->count());
    }
    if (form.routeBox->count() != 5000) state.SkipWithError("wrong number of routes listed");
    fs::remove_all(root);
}
BENCHMARK(BM_FillRouteList5000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
