// orvx grep against grep(1) on generated files in the page cache, and orvx count and count-lists
// over all drives against find(1) over the same roots. Prints the median wall time of each and
// their ratio.
//
//   insight_bench [--runs N] [--mb SIZE] [--dir FOLDER] [--no-count] [--no-grep]
// The grep files (SIZE MB in all, 256 by default) are written below FOLDER (the system's temporary
// folder by default) and removed at the end.

#include "bench_roots.h"
#include "platform/drives.h"
#include "registry/hive_location.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

using namespace orvanex;

namespace {

double runMs(const QString& program, const QStringList& args) {
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer t;
    t.start();
    p.start(program, args);
    p.waitForFinished(-1);
    return double(t.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Text files of words, 8 MB each; the needle sits near the end of one file in eight, so nearly
// every byte is compared.
QStringList makeFiles(const QString& dir, int megabytes) {
    QRandomGenerator rng(99);
    const QList<QByteArray> words = {"lorem ", "Ipsum ",       "DOLOR ",      "sit ",
                                     "amet\n", "Consectetur ", "adipiscing ", "elit "};
    QByteArray block;
    while (block.size() < (1 << 20))
        block += words[rng.bounded(qsizetype(words.size()))];
    block.truncate(1 << 20);
    QStringList files;
    for (int i = 0; i * 8 < megabytes; ++i) {
        QFile f(dir + QStringLiteral("/text%1.txt").arg(i));
        if (!f.open(QIODevice::WriteOnly))
            return {};
        for (int mb = 0; mb < 8; ++mb)
            f.write(block);
        if (i % 8 == 5)
            f.write("the Hidden Treasure\n");
        files << f.fileName();
    }
    return files;
}

void compare(const char* what, int runs, const QString& a, const QStringList& aArgs,
             const QString& b, const QStringList& bArgs, const char* bar = "bar 1.20") {
    runMs(a, aArgs); // warm the page cache and the program
    runMs(b, bArgs);
    std::vector<double> ta, tb;
    for (int i = 0; i < runs; ++i) {
        ta.push_back(runMs(a, aArgs));
        tb.push_back(runMs(b, bArgs));
    }
    const double ma = median(ta), mb = median(tb);
    std::printf("%-6s orvx %9.1f ms   reference %9.1f ms   ratio %.2f (%s)\n", what, ma, mb,
                ma / mb, bar);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    int runs = 5, megabytes = 256;
    QString dir = QDir::tempPath();
    bool doGrep = true, doCount = true;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == "--runs" && i + 1 < args.size())
            runs = std::max(1, args[++i].toInt());
        else if (args[i] == "--mb" && i + 1 < args.size())
            megabytes = std::max(8, args[++i].toInt());
        else if (args[i] == "--dir" && i + 1 < args.size())
            dir = args[++i];
        else if (args[i] == "--no-grep")
            doGrep = false;
        else if (args[i] == "--no-count")
            doCount = false;
    }
    QString orvx = QCoreApplication::applicationDirPath() + "/orvx";
    if (!QFile::exists(orvx))
        orvx = QCoreApplication::applicationDirPath() + "/../bin/orvx";

    if (doGrep) {
        QDir base(dir);
        const QString folder = base.filePath(QStringLiteral("insight_bench_%1").arg(getpid()));
        QDir().mkpath(folder);
        const QStringList files = makeFiles(folder, megabytes);
        if (files.isEmpty()) {
            std::fprintf(stderr, "could not write the files under %s\n", qPrintable(folder));
            return 1;
        }
        std::printf("grep over %lld files, %d MB\n", qlonglong(files.size()), megabytes);
        compare("grep", runs, orvx, QStringList{"grep", "hidden treasure"} + files, "env",
                QStringList{"LC_ALL=C", "grep", "-Fil", "--", "hidden treasure"} + files);
        QDir(folder).removeRecursively();
    }
    if (doCount) {
        const QStringList roots =
            bench::findRoots(platform::DriveMap::forHive(reg::chooseHive(QString()).path));
        std::printf("count over %s\n", qPrintable(roots.join(' ')));
        compare("count", runs, orvx, {"count", "--all-drives"}, "find",
                roots + QStringList{"-xdev", "-type", "f", "-printf", "%s\n"});
        // The window's count: the same walk, then both lists filled.
        compare("lists", runs, orvx, {"count-lists", "--all-drives"}, "find",
                roots + QStringList{"-xdev", "-type", "f", "-printf", "%s\n"},
                "for information: it also reads the registry");
    }
    return 0;
}
