// The all-drives search three ways over the same roots: find(1), orvx find, and the search window
// (which must keep answering: the largest lateness of a 10 ms timer during its search is shown).
//
//   search_bench [--runs N] [--ext TXT] [--hold [--in FOLDER] [--text TEXT] | --rows | --text-stop]
// --rows times a million result rows in the window instead: appending, scrolling, header sorts.
// --text-stop times Stop during the embedded-text scan of a long file.
// --hold shows the window on the screen: the search starts, and the pop-up menu opens on the
// first row when it ends (for screenshots). With --in FOLDER it searches that folder instead of
// all drives, and with --text TEXT it then marks the files holding TEXT.

#include "bench_roots.h"
#include "bench_timing.h"
#include "platform/drives.h"
#include "registry/hive_location.h"
#include "search/frm_search.h"
#include "search/result_sort.h"
#include "search/search_results.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTableView>
#include <QTimer>
#include <cstdio>
#include <numeric>
#include <sys/stat.h>

using namespace orvanex;

namespace {

// Runs the event loop for ms milliseconds.
void settle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct LatenessProbe {
    QTimer timer;
    QElapsedTimer since;
    double worst = 0;
    double worstAt = 0; // ms after start
    QElapsedTimer clock;
    LatenessProbe() {
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            const double late = double(since.nsecsElapsed()) / 1e6 - 10.0;
            if (late > worst) {
                worst = late;
                worstAt = double(clock.nsecsElapsed()) / 1e6;
            }
            since.restart();
        });
    }
    void start() {
        clock.start();
        since.start();
        timer.start();
    }
};

double runProgramMs(const QString& program, const QStringList& args, qint64* lines) {
    QProcess p;
    p.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer t;
    t.start();
    p.start(program, args);
    p.waitForFinished(-1);
    const QByteArray out = p.readAllStandardOutput();
    const double ms = double(t.nsecsElapsed()) / 1e6;
    if (lines)
        *lines = out.count('\n');
    return ms;
}

// A million result rows through the window's model and grid: appended in the worker's batches,
// scrolled to the end, and sorted by name and by size from the header, with the window's answer
// time (a 10 ms timer's lateness) during the sorts.
void modelBench(int runs) {
    search::frmSearch window(QStringLiteral("TXT"), QString(), platform::DriveMap(),
                             QDir::currentPath());
    window.show();
    settle(200);
    search::SearchResultsModel* model = window.results();
    model->setRoots({{u'C', "/data", QStringLiteral("C:\\")}});
    QElapsedTimer t;
    t.start();
    const double cpu0 = bench::cpuMs();
    double worstBatchMs = 0;
    const int total = 1000000;
    for (int first = 0; first < total; first += 512) {
        QList<search::ResultRow> batch;
        for (int i = first; i < std::min(total, first + 512); ++i) {
            search::ResultRow row;
            row.root = 0;
            const int k =
                int((qint64(i) * 7919) % total); // found in an order unlike the sorted one
            row.native = "/data/folder" + QByteArray::number(k % 997) + "/file" +
                         QByteArray::number(k) + ".txt";
            row.size = k;
            row.sequence = i + 1;
            batch.append(std::move(row));
        }
        const double before = bench::cpuMs();
        model->appendRows(std::move(batch));
        worstBatchMs = std::max(worstBatchMs, bench::cpuMs() - before);
        if (first % (512 * 40) == 0)
            QCoreApplication::processEvents(); // the window repaints between batches
    }
    const double appendMs = double(t.nsecsElapsed()) / 1e6;
    const double appendCpu = bench::cpuMs() - cpu0;
    t.restart();
    window.MSFlexGrid1->scrollToBottom();
    QCoreApplication::processEvents();
    const double scrollMs = double(t.nsecsElapsed()) / 1e6;
    std::printf("1,000,000 rows: appended and shown in %.0f ms (%.0f ms processor, the largest "
                "batch of 512 %.2f ms), scrolled to the end in %.1f ms\n",
                appendMs, appendCpu, worstBatchMs, scrollMs);

    // The sort itself, on this thread: the previous way (every key a text of its own, a stable
    // sort of them) against the byte keys, as processor time.
    search::RowView rows = model->snapshot();
    double cpu = bench::cpuMs();
    {
        std::vector<QByteArray> keys(size_t(rows.size()));
        for (int r = 0; r < int(rows.size()); ++r)
            keys[size_t(r)] = model->cellText(r, 0).toUtf8();
        std::vector<int> perm(keys.size());
        std::iota(perm.begin(), perm.end(), 0);
        std::stable_sort(perm.begin(), perm.end(), [&](int a, int b) {
            return keys[size_t(a)].compare(keys[size_t(b)]) > 0;
        });
    }
    const double oldCpu = bench::cpuMs() - cpu;
    std::vector<double> nameCpu, sizeCpu;
    for (int r = 0; r < runs; ++r) {
        cpu = bench::cpuMs();
        search::resultOrder(rows, model->roots(), 0, Qt::DescendingOrder);
        nameCpu.push_back(bench::cpuMs() - cpu);
        cpu = bench::cpuMs();
        search::resultOrder(rows, model->roots(), 1, Qt::DescendingOrder);
        sizeCpu.push_back(bench::cpuMs() - cpu);
    }
    std::printf("sort keys and order, processor time: by name %.0f ms median (%.2f x the previous "
                "way, %.0f ms), by size %.0f ms median\n",
                bench::medianMs(nameCpu), bench::medianMs(nameCpu) / oldCpu, oldCpu,
                bench::medianMs(sizeCpu));

    // Header clicks as the user makes them: name twice, size twice.
    std::vector<double> clickMs, lateMs;
    for (int r = 0; r < runs; ++r)
        for (int column : {0, 0, 1, 1}) {
            LatenessProbe probe;
            QEventLoop done;
            QObject::connect(&window, &search::frmSearch::sortFinished, &done, &QEventLoop::quit);
            t.restart();
            probe.start();
            window.MSFlexGrid1_HeaderClick(column);
            if (window.sorting())
                done.exec();
            QCoreApplication::processEvents(); // the grid repaints in the new order
            clickMs.push_back(double(t.nsecsElapsed()) / 1e6);
            lateMs.push_back(probe.worst);
        }
    std::printf("header click to the sorted grid: %.0f ms median, %.0f ms at most; the window "
                "answered within %.1f ms at worst (bar 100)\n",
                bench::medianMs(clickMs), *std::max_element(clickMs.begin(), clickMs.end()),
                *std::max_element(lateMs.begin(), lateMs.end()));
}

// Stop during the embedded-text scan of a long file: the time from the click to the end texts.
void textStopBench(int runs) {
    const QString folder = QDir::tempPath() + QStringLiteral("/search_bench_stop");
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    const QByteArray big = QFile::encodeName(folder + QStringLiteral("/long.txt"));
    // Sparse: read as fast as the page cache allows, and far longer than the wait below.
    QFile f(QFile::decodeName(big));
    if (!f.open(QIODevice::WriteOnly) || !f.resize(qint64(64) << 30)) {
        std::fprintf(stderr, "could not write %s\n", big.constData());
        return;
    }
    f.close();
    platform::DriveMap drives;
    drives.setDrive(u'C', folder);
    std::vector<double> stopMs;
    for (int r = 0; r < runs; ++r) {
        search::frmSearch window(QStringLiteral("TXT"), QString(), drives, QDir::currentPath());
        window.show();
        window.setStartFolder(folder);
        QEventLoop searched;
        QObject::connect(&window, &search::frmSearch::searchFinished, &searched, &QEventLoop::quit);
        window.cmdSearchStart_Click();
        searched.exec();
        window.scriptedText = QStringLiteral("not in a file of zeros");
        QEventLoop done;
        QObject::connect(&window, &search::frmSearch::textScanFinished, &done, &QEventLoop::quit);
        window.cmdFindText_Click();
        settle(300); // well inside the file
        QElapsedTimer t;
        t.start();
        window.cmdCancelSearch_Click();
        done.exec();
        stopMs.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    QDir(folder).removeRecursively();
    std::printf("Stop during the text scan of a 64 GB file: ended %.1f ms after the click "
                "(median), %.1f ms at most (bar 100)\n",
                bench::medianMs(stopMs), *std::max_element(stopMs.begin(), stopMs.end()));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    int runs = 5;
    QString ext = QStringLiteral("TXT");
    const bool hold = args.contains(QStringLiteral("--hold"));
    for (qsizetype i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--runs"))
            runs = std::max(1, args[i + 1].toInt());
        if (args[i] == QLatin1String("--ext"))
            ext = args[i + 1].toUpper();
    }
    const platform::DriveMap drives = platform::DriveMap::forHive(reg::chooseHive().path);

    if (hold) {
        QString folder, text;
        for (qsizetype i = 1; i + 1 < args.size(); ++i) {
            if (args[i] == QLatin1String("--in"))
                folder = args[i + 1];
            if (args[i] == QLatin1String("--text"))
                text = args[i + 1];
        }
        auto* window = new search::frmSearch(ext, QStringLiteral("Text Document"), drives,
                                             QDir::currentPath());
        window->show();
        QObject::connect(window, &search::frmSearch::searchFinished, window, [window, text] {
            if (!text.isEmpty()) {
                window->scriptedText = text;
                window->cmdFindText_Click();
                return;
            }
            window->MSFlexGrid1->setCurrentIndex(window->results()->index(1, 0));
            window->MSFlexGrid1_Select(window->results()->index(1, 0));
        });
        QTimer::singleShot(500, window, [window, folder] {
            if (folder.isEmpty()) {
                window->cmdSearchAll_Click();
                return;
            }
            window->setStartFolder(folder);
            window->cmdSearchStart_Click();
        });
        return app.exec();
    }

    if (args.contains(QStringLiteral("--text-stop"))) {
        textStopBench(runs);
        return 0;
    }
    if (args.contains(QStringLiteral("--rows"))) {
        modelBench(runs);
        return 0;
    }
    const QStringList roots = bench::findRoots(drives);
    std::printf("roots: %s\n", qPrintable(roots.join(u' ')));
    // orvx beside the benchmark, or in the build's bin/.
    QString orvx = QCoreApplication::applicationDirPath() + QStringLiteral("/orvx");
    if (!QFileInfo(orvx).isExecutable())
        orvx = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/orvx");
    QStringList findArgs = roots;
    findArgs << QStringLiteral("-xdev") << QStringLiteral("-type") << QStringLiteral("f")
             << QStringLiteral("-iname") << QStringLiteral("*.") + ext << QStringLiteral("-printf")
             << QStringLiteral("%s\n");
    std::vector<double> findMs, orvxMs, windowMs, lateMs, idleLateMs;
    qint64 findLines = 0, orvxLines = 0, windowRows = 0;
    runProgramMs(QStringLiteral("find"), findArgs, nullptr); // warm the caches
    for (int r = 0; r < runs; ++r) {
        findMs.push_back(runProgramMs(QStringLiteral("find"), findArgs, &findLines));
        orvxMs.push_back(runProgramMs(
            orvx, {QStringLiteral("find"), ext, QStringLiteral("--all-drives")}, &orvxLines));

        search::frmSearch window(ext, QStringLiteral("Text Document"), drives, QDir::currentPath());
        window.show();
        settle(300); // shown and painted before the clock starts
        // A 10 ms timer: its lateness is how long the window failed to answer.
        LatenessProbe probe;
        QEventLoop done;
        QObject::connect(&window, &search::frmSearch::searchFinished, &done, &QEventLoop::quit);
        QElapsedTimer t;
        t.start();
        probe.start();
        window.cmdSearchAll_Click();
        done.exec();
        windowMs.push_back(double(t.nsecsElapsed()) / 1e6);
        lateMs.push_back(probe.worst);
        if (qEnvironmentVariableIsSet("SEARCH_BENCH_VERBOSE"))
            std::printf("  run %d: worst lateness %.1f ms at %.0f ms of %.0f\n", r, probe.worst,
                        probe.worstAt, windowMs.back());
        // The same probe with nothing running: what the machine's load alone costs.
        LatenessProbe idle;
        idle.start();
        settle(int(windowMs.back()));
        idleLateMs.push_back(idle.worst);
        windowRows = window.results()->rowCount() - 1;
    }
    const double f = bench::medianMs(findMs);
    const double o = bench::medianMs(orvxMs);
    const double w = bench::medianMs(windowMs);
    std::printf("find:      %9.1f ms median, %lld files\n", f, static_cast<long long>(findLines));
    std::printf("orvx find: %9.1f ms median, %lld files, %.2f x find (bar 1.2)\n", o,
                static_cast<long long>(orvxLines), o / f);
    std::printf("window:    %9.1f ms median, %lld files, %.2f x find (bar 1.5)\n", w,
                static_cast<long long>(windowRows), w / f);
    std::printf("window answered within %.1f ms at worst in any run (%.1f ms median of the runs' "
                "worst; bar 100); with no search running the same timer was up to %.1f ms late\n",
                *std::max_element(lateMs.begin(), lateMs.end()), bench::medianMs(lateMs),
                bench::medianMs(idleLateMs));
    return 0;
}
