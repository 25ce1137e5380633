// The printed reports at scale: the extension and file-type reports of a registry of 50,000
// extensions into PDF (bar 2 s). Medians of wall and processor time. The diff of a .reg file is
// measured by diff_bench.

#include "bench_timing.h"
#include "model/loading.h"
#include "model_hive_generator.h"
#include "reports/report_pdf.h"
#include "reports/report_sources.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

using namespace orvanex;
using bench::measure;
using bench::Timing;

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

    auto timeListReport = [&](const char* what, const QList<model::IndexRow>& listRows,
                              const reports::ListReportLayout& layout, const QString& file) {
        const QList<QStringList> rows = reports::reportRows(listRows, 4);
        int pages = 0;
        const Timing t = measure(runs, [&] {
            pages = reports::writeListReportPdf(dir.filePath(file), layout, rows,
                                                reports::kDefaultRowStepTwips, now)
                        .pages;
        });
        std::printf("%s report, %lld rows (%d pages): %.0f ms wall, %.0f ms cpu (bar 2000 ms)\n",
                    what, qlonglong(rows.size()), pages, t.wall, t.cpu);
    };
    timeListReport("file-type", types.rows, reports::fileTypeListLayout(), "types.pdf");
    timeListReport("extension", extensions.rows, reports::extensionListLayout(), "ext.pdf");

    return 0;
}
