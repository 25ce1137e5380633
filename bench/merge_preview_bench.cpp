// The merge preview window at scale: opening it on a 10 MB .reg that changes everything (every
// line a row) against the comparison `orvx diff` runs for the same file (file read, parse and
// comparison, no printing). Medians of processor time; the ratio says what the window adds.
//
//   merge_preview_bench [--runs N]
//
// On a 2-core machine (236,892 changes), processor-time medians of 5 runs: the grid-model
// preview 354 ms against a 337 ms comparison (ratio 1.05; 1.30 in a run on a busier machine); the
// earlier preview that filled a QTableWidget item by item took 902 ms against 343 ms (2.63).

#include "backup/backup_merge.h"
#include "backup/merge_preview_dialog.h"
#include "bench_process.h"
#include "bench_timing.h"
#include "model_hive_generator.h"
#include "registry/reg_file.h"
#include "registry/registry.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

using namespace orvanex;
using bench::measure;
using bench::Timing;

int main(int argc, char** argv) {
    bench::AppInHome<QApplication> process(argc, argv);
    int runs = 5;
    const QStringList args = QCoreApplication::arguments();
    if (const qsizetype i = args.indexOf(QStringLiteral("--runs")); i > 0 && i + 1 < args.size())
        runs = qMax(1, args[i + 1].toInt());

    auto big = reg::Registry::inMemory();
    bench::generateClasses(*big, {30000, 15000, 30000});
    const reg::RegExport exported =
        reg::exportRegFile(*big, QStringLiteral("HKEY_CLASSES_ROOT"), reg::RegFormat::Regedit4);
    const QString regPath = QDir(process.home.path()).filePath(QStringLiteral("classes.reg"));
    {
        QFile f(regPath);
        if (!f.open(QIODevice::WriteOnly) || f.write(exported.bytes) != exported.bytes.size())
            return 1;
    }
    auto empty = reg::Registry::inMemory();

    std::size_t changes = 0;
    const Timing diff =
        measure(runs, [&] { changes = backup::previewMerge(*empty, regPath).diff.changes.size(); });
    const Timing open = measure(runs, [&] {
        const backup::MergePreview preview = backup::previewMerge(*empty, regPath);
        backup::MergePreviewDialog dialog(regPath, preview, nullptr);
        dialog.show();
        QApplication::processEvents(); // laid out and painted
        dialog.close();
    });
    if (changes == 0)
        return 1;
    std::printf("orvx diff's comparison of a %.1f MB .reg with an empty registry (%zu changes): "
                "%.0f ms wall, %.0f ms cpu\n",
                double(exported.bytes.size()) / 1e6, changes, diff.wall, diff.cpu);
    std::printf("the same comparison and the merge preview opened on it: %.0f ms wall, %.0f ms "
                "cpu\n",
                open.wall, open.cpu);
    std::printf("ratio, preview open to comparison (cpu medians): %.2f\n", open.cpu / diff.cpu);
    return 0;
}
