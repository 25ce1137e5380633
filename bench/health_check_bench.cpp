// The associations check (orvx check: the tables loaded, then every extension, type, action and
// icon checked) against the start-up loading of the same registry, on generated classes with
// icon libraries and part of the programs on drive C:. Bar: the check takes at most twice the
// start-up's time.

#include "model/health_check.h"
#include "model/loading.h"
#include "model_hive_generator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "bench_timing.h"

using namespace orvanex;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8()); // the slot reset writes settings
    const QString drive = home.path() + QStringLiteral("/drive_c");
    const bench::HiveSize size{50000, 30000, 100000};
    auto registry = reg::Registry::inMemory();
    if (bench::generateClasses(*registry, size, drive) != reg::status::Success) {
        std::fprintf(stderr, "generating the classes failed\n");
        return 1;
    }
    // Half of the 400 programs the commands name are there.
    for (int p = 0; p < 400; p += 2) {
        const QString folder = drive + QStringLiteral("/PROGRAMS/APP%1").arg(p);
        QDir().mkpath(folder);
        QFile f(folder + QStringLiteral("/APP.EXE"));
        if (!f.open(QIODevice::WriteOnly) || f.write("MZ") != 2)
            return 1;
    }
    platform::DriveMap drives;
    drives.setDrive(u'C', drive);
    reg::RegState state;
    state.registry = registry.get();

    const int runs = 5;
    const bench::Timing startup =
        bench::measure(runs, [&] { model::LoadStartupModel(state, drives, true); });
    model::HealthReport report;
    const bench::Timing check =
        bench::measure(runs, [&] { report = model::CheckAssociations(state, drives); });
    std::printf("start-up loading, %d extensions / %d types / %d actions: median %.1f ms wall, "
                "%.1f ms cpu\n",
                size.extensions, size.fileTypes, size.actions, startup.wall, startup.cpu);
    std::printf("check (tables loaded, then checked): median %.1f ms wall, %.1f ms cpu; "
                "%lld findings, %d actions, %d icon files read once each\n",
                check.wall, check.cpu, static_cast<long long>(report.findings.size()),
                report.actions, report.iconFilesRead);
    const double ratio = check.cpu / startup.cpu;
    std::printf("check / start-up: %.2f cpu, %.2f wall (bar: <= 2)\n", ratio,
                check.wall / startup.wall);
    return ratio <= 2.0 ? 0 : 1;
}
