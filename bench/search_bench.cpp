// The all-drives search three ways over the same roots: find(1), orvx find, and the search window
// (which must keep answering: the largest lateness of a 10 ms timer during its search is shown).
//
//   search_bench [--runs N] [--ext TXT] [--hold | --rows]
// --rows times a million result rows in the window instead.
// --hold shows the window on the screen: the search starts, and the pop-up menu opens on the
// first row when it ends (for screenshots).

#include "bench_timing.h"
#include "platform/drives.h"
#include "registry/hive_location.h"
#include "search/frm_search.h"
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
#include <sys/stat.h>

using namespace orvanex;

namespace {

// The drive folders and the real mounted file systems, without a root that lies inside another
// one on the same device (find -xdev would walk it twice).
QStringList findRoots(const platform::DriveMap& drives) {
    QList<QByteArray> candidates;
    for (const platform::DriveRoot& r : platform::driveRoots(drives))
        candidates << r.native;
    for (const platform::MountEntry& m : platform::readMountTable())
        if (!platform::isPseudoFileSystem(m.fsType))
            candidates << m.mountPoint;
    QStringList roots;
    QList<QPair<QByteArray, dev_t>> kept;
    for (const QByteArray& c : candidates) {
        struct stat st;
        if (::stat(c.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
            continue;
        bool inside = false;
        for (const auto& [k, dev] : kept)
            if (dev == st.st_dev && (k == "/" || c == k || c.startsWith(k + '/')))
                inside = true;
        if (inside)
            continue;
        // An earlier root inside this one goes.
        for (qsizetype i = kept.size() - 1; i >= 0; --i)
            if (kept[i].second == st.st_dev && (c == "/" || kept[i].first.startsWith(c + '/'))) {
                roots.removeAt(i);
                kept.removeAt(i);
            }
        kept.append({c, st.st_dev});
        roots << QFile::decodeName(c);
    }
    return roots;
}

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
// scrolled to the end, and sorted by name.
void modelBench() {
    search::frmSearch window(QStringLiteral("TXT"), QString(), platform::DriveMap(),
                             QDir::currentPath());
    window.show();
    settle(200);
    search::SearchResultsModel* model = window.results();
    model->setRoots({{u'C', "/data", QStringLiteral("C:\\")}});
    QElapsedTimer t;
    t.start();
    const int total = 1000000;
    for (int first = 0; first < total; first += 512) {
        QList<search::ResultRow> batch;
        for (int i = first; i < std::min(total, first + 512); ++i) {
            search::ResultRow row;
            row.root = 0;
            row.native = "/data/folder" + QByteArray::number(i % 997) + "/file" +
                         QByteArray::number(i) + ".txt";
            row.size = i;
            row.sequence = i + 1;
            batch.append(std::move(row));
        }
        model->appendRows(std::move(batch));
        if (first % (512 * 40) == 0)
            QCoreApplication::processEvents(); // the window repaints between batches
    }
    const double appendMs = double(t.nsecsElapsed()) / 1e6;
    t.restart();
    window.MSFlexGrid1->scrollToBottom();
    QCoreApplication::processEvents();
    const double scrollMs = double(t.nsecsElapsed()) / 1e6;
    t.restart();
    window.MSFlexGrid1_HeaderClick(0);
    QCoreApplication::processEvents();
    const double sortMs = double(t.nsecsElapsed()) / 1e6;
    std::printf("1,000,000 rows: appended and shown in %.0f ms, scrolled to the end in %.1f ms, "
                "sorted by name in %.0f ms\n",
                appendMs, scrollMs, sortMs);
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
        auto* window = new search::frmSearch(ext, QStringLiteral("Text Document"), drives,
                                             QDir::currentPath());
        window->show();
        QObject::connect(window, &search::frmSearch::searchFinished, window, [window] {
            window->MSFlexGrid1->setCurrentIndex(window->results()->index(1, 0));
            window->MSFlexGrid1_Select(window->results()->index(1, 0));
        });
        QTimer::singleShot(500, window, [window] { window->cmdSearchAll_Click(); });
        return app.exec();
    }

    if (args.contains(QStringLiteral("--rows"))) {
        modelBench();
        return 0;
    }
    const QStringList roots = findRoots(drives);
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
    std::printf("window answered within %.1f ms at worst (median of runs; bar 100); "
                "with no search running the same timer was up to %.1f ms late\n",
                bench::medianMs(lateMs), bench::medianMs(idleLateMs));
    return 0;
}
