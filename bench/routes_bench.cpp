// The route list over a Routes folder of 5,000 route folders, refilled as each activation of the
// main window does.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <filesystem>

#include "core/platform/paths.h"
#include "core/settings/settings_file.h"
#include "gui/mainwindow/main_window.h"

namespace fs = std::filesystem;

namespace {

void BM_RouteList5000(benchmark::State& state) {
    const fs::path root = fs::temp_directory_path() / "zel-bench-routes";
    fs::remove_all(root);
    for (int i = 0; i < 5000; ++i)
        fs::create_directories(root / "Routes" / ("Route " + std::to_string(i)));
    fs::create_directories(root / "program" / "Dump");
    platform::SetProgramFolder((root / "program").string());
    settings::WriteString(settings::kLocationSection, settings::kPathKey, root.string());
    MainWindow mainWindow;
    mainWindow.applyLanguage("Nederlands");
    const QComboBox* routeBox = mainWindow.findChild<QComboBox*>("routeBox");
    for (auto _ : state) {
        mainWindow.onActivated();
        benchmark::DoNotOptimize(routeBox->count());
    }
    if (routeBox->count() != 5000) state.SkipWithError("wrong number of routes listed");
    fs::remove_all(root);
}
BENCHMARK(BM_RouteList5000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
