// The merge preview at scale: `orvx diff` of a 10 MB .reg against a hive of the same size (bar
// 1 s), as the user runs it (hive load, parse, comparison and printing), and the comparison alone
// in this process. Medians of wall and processor time; the processor time of orvx is its own
// (user plus system), so it holds on a loaded machine.
//
//   diff_bench [--runs N] [--dir FOLDER]
// The .reg file and the hive are written to FOLDER (kept, for profiling orvx on them), else to a
// temporary folder.

#include "bench_timing.h"
#include "model_hive_generator.h"
#include "registry/reg_diff.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <sys/resource.h>

using namespace orvanex;
using bench::measure;
using bench::Timing;

namespace {

double childrenCpuMs() {
    rusage r{};
    getrusage(RUSAGE_CHILDREN, &r);
    const auto ms = [](const timeval& t) {
        return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3;
    };
    return ms(r.ru_utime) + ms(r.ru_stime);
}

// One orvx run with its output thrown away; false when it did not end as expected.
Timing runOrvx(int runs, const QString& orvx, const QStringList& args, int expectedExit) {
    std::vector<double> wall, cpu;
    for (int i = 0; i < runs; ++i) {
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        p.setStandardErrorFile(QProcess::nullDevice());
        const double c0 = childrenCpuMs();
        QElapsedTimer t;
        t.start();
        p.start(orvx, args);
        p.waitForFinished(-1);
        wall.push_back(double(t.nsecsElapsed()) / 1e6);
        cpu.push_back(childrenCpuMs() - c0);
        if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != expectedExit) {
            std::fprintf(stderr, "orvx %s ended with %d (expected %d)\n",
                         qUtf8Printable(args.join(u' ')), p.exitCode(), expectedExit);
            std::exit(1);
        }
    }
    return {bench::medianMs(wall), bench::medianMs(cpu)};
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int runs = 5;
    const QStringList args = app.arguments();
    if (const qsizetype i = args.indexOf(QStringLiteral("--runs")); i > 0 && i + 1 < args.size())
        runs = qMax(1, args[i + 1].toInt());
    QTemporaryDir temporary;
    QDir dir(temporary.path());
    if (const qsizetype i = args.indexOf(QStringLiteral("--dir")); i > 0 && i + 1 < args.size())
        dir.setPath(args[i + 1]);
    QString orvx = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/orvx");
    if (!QFile::exists(orvx))
        orvx = QCoreApplication::applicationDirPath() + QStringLiteral("/orvx");

    // A .reg of about 10 MB: the export of a registry grown until its export reaches that size.
    auto big = reg::Registry::inMemory();
    bench::generateClasses(*big, {30000, 15000, 30000});
    const reg::RegExport exported =
        reg::exportRegFile(*big, QStringLiteral("HKEY_CLASSES_ROOT"), reg::RegFormat::Regedit4);
    const QString regPath = dir.filePath(QStringLiteral("classes.reg"));
    const QString hivePath = dir.filePath(QStringLiteral("classes.hive"));
    const QString emptyHive = dir.filePath(QStringLiteral("empty.hive"));
    {
        QFile f(regPath);
        if (!f.open(QIODevice::WriteOnly) || f.write(exported.bytes) != exported.bytes.size())
            return 1;
        auto hive = reg::Registry::openHive(hivePath);
        if (importRegFile(*hive, exported.bytes).changes() == 0)
            return 1;
        hive->compact();
    }

    std::size_t changes = 0;
    const Timing parse =
        measure(runs, [&] { changes = reg::parseRegFile(exported.bytes).ops.size(); });
    std::printf("parse alone (%zu operations): %.0f ms wall, %.0f ms cpu\n", changes, parse.wall,
                parse.cpu);
    const Timing same =
        measure(runs, [&] { changes = reg::diffRegFile(*big, exported.bytes).changes.size(); });
    std::printf("comparison of a %.1f MB .reg with the registry it came from (%zu changes): %.0f "
                "ms wall, %.0f ms cpu\n",
                double(exported.bytes.size()) / 1e6, changes, same.wall, same.cpu);
    auto empty = reg::Registry::inMemory();
    const Timing all =
        measure(runs, [&] { changes = reg::diffRegFile(*empty, exported.bytes).changes.size(); });
    std::printf("comparison of the same .reg with an empty registry (%zu changes): %.0f ms wall, "
                "%.0f ms cpu\n",
                changes, all.wall, all.cpu);

    const Timing cmdSame = runOrvx(runs, orvx, {"--hive", hivePath, "diff", regPath}, 0);
    std::printf("orvx diff against the hive it came from (%lld bytes): %.0f ms wall, %.0f ms cpu "
                "(bar 1000 ms)\n",
                qlonglong(QFileInfo(hivePath).size()), cmdSame.wall, cmdSame.cpu);
    const Timing cmdAll = runOrvx(runs, orvx, {"--hive", emptyHive, "diff", regPath}, 3);
    std::printf("orvx diff against an empty hive (every line printed): %.0f ms wall, %.0f ms cpu\n",
                cmdAll.wall, cmdAll.cpu);
    return 0;
}
