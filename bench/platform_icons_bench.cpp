// Counting and decoding every icon of a library with 300 icon groups (six images each, as in
// system libraries) must take at most 50 ms (median).

#include "fixture_images.h"
#include "pe_fixtures.h"
#include "platform/icon_extract.h"
#include "platform/icon_file.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace orvanex;

namespace {

constexpr int kGroups = 300;
constexpr int kRuns = 15;
constexpr double kBarMs = 50.0;

template <typename F> double medianMs(F&& work) {
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString d = dir.path();
    test::writeFile(
        d + "/set.ico",
        test::makeIco({test::image(16, 16, 8, Qt::red), test::image(16, 16, 32, Qt::red),
                       test::image(32, 32, 8, Qt::green), test::image(32, 32, 32, Qt::green),
                       test::image(48, 48, 8, Qt::blue), test::image(48, 48, 32, Qt::blue)}));
    QByteArray rc;
    for (int i = 1; i <= kGroups; ++i)
        rc += QByteArray::number(i) + " ICON \"set.ico\"\n";
    test::writeFile(d + "/many.rc", rc);
    QString error;
    const QString dll =
        test::buildPe(d, "many.rc", "x86_64", {"--dll", "-e", "0"}, "many.dll", &error);
    if (dll.isEmpty()) {
        std::fprintf(stderr, "cannot build the library: %s\n", qPrintable(error));
        return 1;
    }

    int drawn = 0;
    // As the icon grid does it through the ExtractIcon-style calls: one count, one call per icon.
    const double perCall = medianMs([&] {
        drawn = 0;
        const int count = platform::extractIconCount(dll);
        for (int i = 0; i < count; ++i)
            drawn += platform::extractIcon(dll, i).isNull() ? 0 : 1;
    });
    if (drawn != kGroups) {
        std::fprintf(stderr, "decoded %d icons of %d\n", drawn, kGroups);
        return 1;
    }
    // With the file opened once.
    const double opened = medianMs([&] {
        const platform::IconFile file(dll);
        for (int i = 0; i < file.count(); ++i)
            file.icon(i);
    });
    std::printf("icons of a %d-group library, count + decode all (median of %d runs):\n", kGroups,
                kRuns);
    std::printf("  extractIconCount + extractIcon per icon: %.2f ms (bar %.0f ms) %s\n", perCall,
                kBarMs, perCall <= kBarMs ? "ok" : "OVER");
    std::printf("  one IconFile, icon() per icon:           %.2f ms\n", opened);
    return perCall <= kBarMs ? 0 : 2;
}
