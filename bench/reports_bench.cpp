// The printed reports and the merge preview at scale: the extension and file-type reports of a
// registry of 50,000 extensions into PDF (bar 2 s), and the diff of a 10 MB .reg against a
// registry of the same size (bar 1 s). Medians of wall and processor time.

#include "bench_timing.h"
#include "model/loading.h"
#include "model_hive_generator.h"
#include "registry/reg_diff.h"
#include "reports/report_pdf.h"
#include "reports/report_sources.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

using namespace orvanex;

namespace {

struct Timing {
    double wall = 0;
    double cpu = 0;
};

Timing measure(int runs, const std::function<void()>& work) {
    if (runs == 0)
        return {};
    std::vector<double> wall, cpu;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        const double c0 = bench::cpuMs();
        work();
        cpu.push_back(bench::cpuMs() - c0);
        wall.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return {bench::medianMs(wall), bench::medianMs(cpu)};
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    const int runs = 3;

    auto registry = reg::Registry::inMemory();
    bench::generateClasses(*registry, {50000, 20000, 40000});
    reg::RegState state;
    state.registry = registry.get();
    const model::ExtensionLoad extensions = model::LoadExtensions(state);
    const model::FileTypeLoad types = model::BuildFileTypes(extensions.entries);
    const QDateTime now = QDateTime::currentDateTime();

    int pages = 0;
    const bool reportsToo = qEnvironmentVariableIsEmpty("REPORTS_BENCH_DIFF_ONLY");
    const QList<QStringList> typeRows = reports::reportRows(types.rows, 4);
    const Timing typeReport = measure(reportsToo ? runs : 0, [&] {
        pages = reports::writeListReportPdf(dir.filePath("types.pdf"), reports::fileTypeListSpec(),
                                            typeRows, reports::kDefaultRowStepTwips, now)
                    .pages;
    });
    std::printf("file-type report, %lld rows (%d pages): %.0f ms wall, %.0f ms cpu (bar 2000 ms)\n",
                qlonglong(typeRows.size()), pages, typeReport.wall, typeReport.cpu);
    const QList<QStringList> extRows = reports::reportRows(extensions.rows, 4);
    const Timing extReport = measure(reportsToo ? runs : 0, [&] {
        pages = reports::writeListReportPdf(dir.filePath("ext.pdf"), reports::extensionListSpec(),
                                            extRows, reports::kDefaultRowStepTwips, now)
                    .pages;
    });
    std::printf("extension report, %lld rows (%d pages): %.0f ms wall, %.0f ms cpu (bar 2000 ms)\n",
                qlonglong(extRows.size()), pages, extReport.wall, extReport.cpu);

    // A .reg of about 10 MB: the export of a registry grown until its export reaches that size.
    auto big = reg::Registry::inMemory();
    bench::generateClasses(*big, {30000, 15000, 30000});
    const reg::RegExport exported =
        reg::exportRegFile(*big, QStringLiteral("HKEY_CLASSES_ROOT"), reg::RegFormat::Regedit4);
    size_t changes = 0;
    const Timing parse =
        measure(runs, [&] { changes = reg::parseRegFile(exported.bytes).ops.size(); });
    std::printf("parse alone (%zu operations): %.0f ms wall, %.0f ms cpu\n", changes, parse.wall,
                parse.cpu);
    const Timing diff =
        measure(runs, [&] { changes = reg::diffRegFile(*big, exported.bytes).changes.size(); });
    std::printf("diff of a %.1f MB .reg against the registry it came from (%zu changes): %.0f ms "
                "wall, %.0f ms cpu (bar 1000 ms)\n",
                double(exported.bytes.size()) / 1e6, changes, diff.wall, diff.cpu);
    // Against an empty registry every key and value is a change to list.
    auto empty = reg::Registry::inMemory();
    const Timing diffAll =
        measure(runs, [&] { changes = reg::diffRegFile(*empty, exported.bytes).changes.size(); });
    std::printf("diff of the same .reg against an empty registry (%zu changes): %.0f ms wall, "
                "%.0f ms cpu\n",
                changes, diffAll.wall, diffAll.cpu);
    return 0;
}
