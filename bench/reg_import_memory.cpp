// Import memory: `orvx import` of a 33 MB .reg file of hex values, as the registry editor wraps
// them, run as a child process; prints its peak resident memory against the bar of four times
// the file's size + 64 MB, and the time taken. Medians over three runs.
// Usage: reg_import_memory [size-in-MB [orvx-program]]

#include "registry/reg_file.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace orvanex::reg;

namespace {

// Values of valueSize bytes under one key, exported by the program's own writer.
QByteArray hexRegFile(qint64 wantedBytes, int valueSize) {
    auto registry = Registry::inMemory();
    HKey key = 0;
    registry->createKey(HKEY_CURRENT_USER, QStringLiteral("Bench"), &key);
    QByteArray data(valueSize, Qt::Uninitialized);
    const qint64 perValue = qint64(valueSize) * 3 + valueSize / 25 * 3 + 40; // "xx," + breaks
    const int values = int(wantedBytes / perValue) + 1;
    for (int v = 0; v < values; ++v) {
        for (int i = 0; i < data.size(); ++i)
            data[i] = char((qint64(i) * 131 + v * 7) & 0xff);
        registry->setValueEx(key, QStringLiteral("Value %1").arg(v), type::Binary, data.constData(),
                             std::uint32_t(data.size()));
    }
    registry->closeKey(key);
    return exportRegFile(*registry, QStringLiteral("HKEY_CURRENT_USER\\Bench"), RegFormat::Regedit4)
        .bytes;
}

struct Run {
    long peakKb = -1;
    double ms = 0;
    int status = -1;
};

Run importOnce(const QByteArray& program, const QString& hive, const QString& file) {
    const QByteArray hiveArg = QFile::encodeName(hive);
    const QByteArray fileArg = QFile::encodeName(file);
    QElapsedTimer timer;
    timer.start();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const char* argv[] = {program.constData(), "--hive", hiveArg.constData(), "import",
                              fileArg.constData(), nullptr};
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::execv(argv[0], const_cast<char* const*>(argv));
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    return {usage.ru_maxrss, double(timer.nsecsElapsed()) / 1e6,
            WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size();
}

// Median peak over three imports; false when an import failed or missed the bar.
bool measure(const QByteArray& program, const QString& folder, const QString& file,
             const char* shape) {
    const double fileMb = double(QFile(file).size()) / (1024 * 1024);
    std::vector<Run> runs;
    for (int i = 0; i < 3; ++i) {
        QFile::remove(folder + QStringLiteral("/r.hive"));
        runs.push_back(importOnce(program, folder + QStringLiteral("/r.hive"), file));
        if (runs.back().status != 0) {
            std::fprintf(stderr, "orvx import failed with status %d\n", runs.back().status);
            return false;
        }
    }
    std::sort(runs.begin(), runs.end(),
              [](const Run& a, const Run& b) { return a.peakKb < b.peakKb; });
    const double peakMb = double(runs[1].peakKb) / 1024;
    const double bar = 4 * fileMb + 64;
    std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.ms < b.ms; });
    std::printf("orvx import, %.1f MiB .reg, %s\n", fileMb, shape);
    std::printf("  peak resident memory (median) %7.1f MiB = %.2f x the file   bar <= %.1f MiB: "
                "%s\n",
                peakMb, peakMb / fileMb, bar, peakMb <= bar ? "met" : "MISSED");
    std::printf("  time (median)                 %7.0f ms\n", runs[1].ms);
    return peakMb <= bar;
}

} // namespace

int main(int argc, char** argv) {
    const qint64 bytes = (argc > 1 ? QByteArray(argv[1]).toLongLong() : 33) * 1000 * 1000;
    const QByteArray program = argc > 2 ? QByteArray(argv[2]) : QByteArray(ORVX_PROGRAM);
    QTemporaryDir dir;
    const QString many = dir.path() + QStringLiteral("/many.reg");
    const QString one = dir.path() + QStringLiteral("/one.reg");
    // Written before any import: a child's peak counts what this process held when it forked.
    if (!writeFile(many, hexRegFile(bytes, 4096)) ||
        !writeFile(one, hexRegFile(bytes, int(bytes / 3))))
        return 1;
    ::malloc_trim(0);
    bool met = measure(program, dir.path(), many, "hex values of 4 KiB");
    met = measure(program, dir.path(), one, "one hex value") && met;
    return met ? 0 : 2;
}
