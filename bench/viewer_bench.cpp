// Viewer benchmark: time from start to the first painted screen for large files (each run in a
// fresh process, with its peak memory), and the search commands over 100 MB. Prints medians.
//
//   viewer_bench            generate the files in a temporary folder and run everything
//   viewer_bench --open F   (internal) open F once and print "ms total_ms peak_kb base_kb"

#include "viewer/byte_view.h"
#include "viewer/frm_view_x.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace orvanex::viewer;

namespace {

using Clock = std::chrono::steady_clock;

long statusKb(const char* field) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').first().toLong();
    return -1;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void waitForPaint(const ByteView* view) {
    QElapsedTimer t;
    t.start();
    while (!view->hasPainted() && t.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

class BenchWindow : public frmViewX {
public:
    QString answer;
    int messages = 0;

protected:
    QString askText(const QString&, const QString&) override { return answer; }
    void showMessage(const QString&) override { ++messages; }
};

int openOnce(int argc, char** argv, Clock::time_point processStart) {
    QApplication app(argc, argv);
    const auto t0 = Clock::now();
    BenchWindow w;
    const long baseKb = statusKb("VmRSS:");
    Clock::time_point t1;
    QObject::connect(w.rtfText(), &ByteView::firstPaint, [&t1] { t1 = Clock::now(); });
    w.Form_Load(QString::fromLocal8Bit(argv[2]));
    w.show();
    waitForPaint(w.rtfText());
    // The peak is taken after the idle-time line index is complete.
    QElapsedTimer settle;
    settle.start();
    while (!w.rtfText()->isSettled() && settle.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const auto t2 = Clock::now();
    std::printf(
        "%.2f %.2f %ld %ld %.2f\n", std::chrono::duration<double, std::milli>(t1 - t0).count(),
        std::chrono::duration<double, std::milli>(t1 - processStart).count(), statusKb("VmHWM:"),
        baseKb, std::chrono::duration<double, std::milli>(t2 - t0).count());
    return w.messages == 0 && w.rtfText()->hasPainted() ? 0 : 1;
}

bool writeFile(const QString& path, qint64 size, bool lineBreaks, int needles) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    QByteArray chunk;
    const qint64 needleEvery = needles > 0 ? size / needles : 0;
    qint64 written = 0;
    qint64 nextNeedle = needleEvery / 2;
    int n = 0;
    while (written < size) {
        chunk.clear();
        while (chunk.size() < (1 << 20)) {
            chunk += "Rec ";
            chunk += QByteArray::number(n++);
            chunk += lineBreaks ? " some text\n" : " some text ";
            if (needleEvery && written + chunk.size() >= nextNeedle) {
                chunk += "needle ";
                nextNeedle += needleEvery;
            }
        }
        const qint64 take = std::min<qint64>(chunk.size(), size - written);
        f.write(chunk.constData(), take);
        written += take;
    }
    f.write("\nzebra at the end\n");
    return true;
}

struct OpenFigures {
    double ms, totalMs, peakMb, growthMb, settledMs;
};

OpenFigures measureOpen(const QString& self, const QString& file, int runs) {
    std::vector<double> ms, total, peak, growth, settled;
    for (int i = 0; i < runs; ++i) {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(self, {QStringLiteral("--open"), file});
        p.waitForFinished(120000);
        const QList<QByteArray> f = p.readAllStandardOutput().trimmed().split(' ');
        if (p.exitCode() != 0 || f.size() != 5) {
            std::fprintf(stderr, "run failed for %s\n", qPrintable(file));
            continue;
        }
        ms.push_back(f[0].toDouble());
        total.push_back(f[1].toDouble());
        peak.push_back(f[2].toDouble() / 1024);
        growth.push_back((f[2].toDouble() - f[3].toDouble()) / 1024);
        settled.push_back(f[4].toDouble());
    }
    return {median(ms), median(total), median(peak), median(growth), median(settled)};
}

template <typename F> double timeMs(int runs, F&& f) {
    std::vector<double> v;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = Clock::now();
        f();
        v.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    return median(v);
}

void verdict(const char* what, double value, double bar, const char* unit) {
    std::printf("%-48s %10.1f %-3s (bar %6.0f %s) %s\n", what, value, unit, bar, unit,
                value <= bar ? "ok" : "OVER");
}

} // namespace

int main(int argc, char** argv) {
    const auto processStart = Clock::now();
    if (argc == 3 && qstrcmp(argv[1], "--open") == 0)
        return openOnce(argc, argv, processStart);

    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString big = dir.filePath(QStringLiteral("big.txt"));
    const QString oneLine = dir.filePath(QStringLiteral("oneline.txt"));
    std::printf("generating files in %s ...\n", qPrintable(dir.path()));
    if (!writeFile(big, 100'000'000, true, 100'000) || !writeFile(oneLine, 5'000'000, false, 0))
        return 1;
    const int runs = 5;
    std::printf("medians of %d runs; platform %s\n", runs, qPrintable(app.platformName()));

    const QString tiny = dir.filePath(QStringLiteral("tiny.txt"));
    writeFile(tiny, 1000, true, 0);
    const OpenFigures t = measureOpen(app.applicationFilePath(), tiny, runs);
    std::printf("%-48s %10.1f ms (fixed cost: window, fonts, first paint)\n",
                "1 KB text: start to first paint", t.ms);
    const OpenFigures b = measureOpen(app.applicationFilePath(), big, runs);
    verdict("100 MB text, 4.6 M lines: start to first paint", b.ms, 1000, "ms");
    std::printf("%-48s %10.1f ms (whole process, from main)\n", "", b.totalMs);
    std::printf("%-48s %10.1f ms (line index complete in idle time)\n", "", b.settledMs);
    verdict("100 MB text: peak memory of the process", b.peakMb, 300, "MB");
    std::printf("%-48s %10.1f MB (growth over the empty window)\n", "", b.growthMb);
    const OpenFigures o = measureOpen(app.applicationFilePath(), oneLine, runs);
    verdict("5 MB without line breaks: start to first paint", o.ms, 300, "ms");
    std::printf("%-48s %10.1f ms (whole process, from main)\n", "", o.totalMs);
    verdict("5 MB without line breaks: memory growth", o.growthMb, 15, "MB");

    BenchWindow w;
    w.Form_Load(big);
    w.show();
    waitForPaint(w.rtfText());
    ByteView* view = w.rtfText();
    w.answer = QStringLiteral("ZEBRA");
    verdict("Find across 100 MB (match at the end)",
            timeMs(runs,
                   [&] {
                       w.mnuCase_Click();
                       view->viewport()->repaint();
                   }),
            500, "ms");
    // Find Next from a match near the start through the whole file (the text occurs once).
    std::vector<double> next;
    for (int i = 0; i < runs; ++i) {
        w.answer = QStringLiteral("rec 1 ");
        w.mnuCase_Click();
        next.push_back(timeMs(1, [&] {
            w.MnuNext_Click();
            view->viewport()->repaint();
        }));
    }
    verdict("Find Next across 100 MB (no further match)", median(next), 500, "ms");
    w.answer = QStringLiteral("needle");
    verdict("Find All marking 100,000 matches in 100 MB",
            timeMs(runs,
                   [&] {
                       w.mnuHigh_Click();
                       view->viewport()->repaint();
                   }),
            1000, "ms");
    std::printf("marked ranges: %zu\n", view->marks().ranges().size());
    return 0;
}
