// Start-up of the main window on generated classes: from building the window through the load
// handler (extension grid) to the end of the timer's work (file-type grid, update slots, command
// and icon-file lists), as the start-up procedure runs them.

#include "app/main_window.h"
#include "app/startup.h"
#include "editing/list_loader.h"
#include "model/loading.h"
#include "model_hive_generator.h"
#include "platform/drive_map.h"
#include "ui_main_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench_process.h"
#include "bench_timing.h"

using namespace orvanex;

namespace {

using orvanex::bench::cpuMs;
using orvanex::bench::medianMs;

struct Result {
    double median = 0; // wall time
    double cpuMedian = 0;
    double modelMedian = 0; // the model's loading alone
    int extensionRows = 0;
    int typeRows = 0;
};

Result measure(const QString& folder, const bench::HiveSize& size, int runs) {
    const QString hive = folder + QStringLiteral("/classes.hive");
    auto registry = reg::Registry::openHive(hive);
    if (bench::generateClasses(*registry, size, platform::DriveMap::driveCFolderForHive(hive)) !=
        reg::status::Success) {
        std::fprintf(stderr, "generating the classes failed\n");
        std::exit(1);
    }
    Result result;
    std::vector<double> times;
    std::vector<double> cpuTimes;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        const double cpu0 = cpuMs();
        std::unique_ptr<MainWindow> window =
            runStartup(registry.get(), editing::makeFileTypeLoader());
        if (window->timer1Runs() == 0)
            window->Timer1_Timer();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        cpuTimes.push_back(cpuMs() - cpu0);
        result.extensionRows = window->form()->flex1->model()->rowCount();
        result.typeRows = window->form()->flex2->model()->rowCount();
        window->close();
        window.reset();
        QCoreApplication::processEvents();
    }
    result.median = medianMs(times);
    result.cpuMedian = medianMs(cpuTimes);
    // The model's share, to tell the window's own cost from the loading's.
    std::vector<double> modelTimes;
    const platform::DriveMap drives = platform::DriveMap::forHive(hive);
    for (int i = 0; i < runs; ++i) {
        reg::RegState state;
        state.registry = registry.get();
        QElapsedTimer timer;
        timer.start();
        model::LoadStartupModel(state, drives, true);
        modelTimes.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    result.modelMedian = medianMs(modelTimes);
    return result;
}

} // namespace

int main(int argc, char** argv) {
    bench::AppInHome<QApplication> process(argc, argv);
    const QTemporaryDir& home = process.home;

    const bench::HiveSize base{5000, 3000, 10000};
    const bench::HiveSize large{50000, 30000, 100000};
    QTemporaryDir baseDir(home.path() + QStringLiteral("/base-XXXXXX"));
    QTemporaryDir largeDir(home.path() + QStringLiteral("/large-XXXXXX"));
    const Result small = measure(baseDir.path(), base, 7);
    std::printf("main window start-up, 5000 extensions / 3000 types / 10000 actions, 7 runs:\n"
                "  median %.1f ms processor time, %.1f ms wall (bar 300 ms); model loading alone "
                "%.1f ms wall; %d + %d grid rows\n",
                small.cpuMedian, small.median, small.modelMedian, small.extensionRows,
                small.typeRows);
    const Result big = measure(largeDir.path(), large, 3);
    std::printf("main window start-up, 50000 extensions / 30000 types / 100000 actions, 3 runs:\n"
                "  median %.1f ms processor time, %.1f ms wall (bar %.1f ms = 10 x the small "
                "median); model loading alone %.1f ms wall; %d + %d grid rows\n",
                big.cpuMedian, big.median, 10 * small.cpuMedian, big.modelMedian, big.extensionRows,
                big.typeRows);
    const bool ok = small.cpuMedian <= 300 && big.cpuMedian <= 10 * small.cpuMedian;
    std::printf("%s\n", ok ? "PASS" : "FAIL");
    return ok ? 0 : 1;
}
