// Filling the icon panel with the 300 icons of a library (six images an icon, as system
// libraries hold them) must take at most 150 ms (median): "&Icons" in the main window, from
// reading the file to the grid drawn.

#include "app/main_window.h"
#include "app/startup.h"
#include "editing/icon_grid.h"
#include "editing/icon_panel.h"
#include "editing/list_loader.h"
#include "fixture_images.h"
#include "pe_fixtures.h"
#include "platform/drive_map.h"
#include "registry/reg_state.h"
#include "ui_main_window.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

#include "bench_process.h"
#include "bench_timing.h"

using namespace orvanex;

namespace {

constexpr int kIcons = 300;
constexpr int kRuns = 15;
constexpr double kBarMs = 150.0;

// The library, built with windres and ld as a real one is; empty on failure.
QString buildLibrary(const QString& dir) {
    test::writeFile(
        dir + "/set.ico",
        test::makeIco({test::image(16, 16, 8, Qt::red), test::image(16, 16, 32, Qt::red),
                       test::image(32, 32, 8, Qt::green), test::image(32, 32, 32, Qt::green),
                       test::image(48, 48, 8, Qt::blue), test::image(48, 48, 32, Qt::blue)}));
    QByteArray rc;
    for (int i = 1; i <= kIcons; ++i)
        rc += QByteArray::number(i) + " ICON \"set.ico\"\n";
    test::writeFile(dir + "/many.rc", rc);
    QString error;
    const QString dll =
        test::buildPe(dir, "many.rc", "x86_64", {"--dll", "-e", "0"}, "many.dll", &error);
    if (dll.isEmpty())
        std::fprintf(stderr, "cannot build the library: %s\n", qPrintable(error));
    return dll;
}

} // namespace

int main(int argc, char** argv) {
    bench::AppInHome<QApplication> process(argc, argv);
    const QTemporaryDir& home = process.home;

    const QString hive = home.path() + QStringLiteral("/classes.hive");
    const QString icons = platform::DriveMap::driveCFolderForHive(hive) + QStringLiteral("/ICONS");
    QDir().mkpath(icons);
    const QString dll = buildLibrary(icons);
    if (dll.isEmpty())
        return 1;
    auto registry = reg::Registry::openHive(hive);
    reg::RegState state;
    state.registry = registry.get();
    reg::WriteText(state, QStringLiteral(".mny"), QString(), QStringLiteral("manyfile"));
    reg::WriteText(state, QStringLiteral("manyfile"), QString(), QStringLiteral("Many Icons"));
    reg::WriteText(state, QStringLiteral("manyfile\\DefaultIcon"), QString(),
                   QStringLiteral("C:\\ICONS\\many.dll,0"));

    std::unique_ptr<MainWindow> window = runStartup(registry.get(), editing::makeFileTypeLoader());
    if (window->timer1Runs() == 0)
        window->Timer1_Timer();
    Ui::frmORVANEX* ui = window->form();
    auto* panel = window->handlers().iconPanel.get();
    window->context().state.setEditState(editing::EditState::EntryShown);
    ui->txtIcon->setText(QStringLiteral("C:\\ICONS\\many.dll"));

    std::vector<double> wall;
    std::vector<double> cpu;
    int cells = 0;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        const double cpu0 = bench::cpuMs();
        panel->cmdIconView_Click();
        ui->Grid1->repaint();
        wall.push_back(double(timer.nsecsElapsed()) / 1e6);
        cpu.push_back(bench::cpuMs() - cpu0);
        cells = 0;
        for (int n = 0; n < kIcons; ++n)
            cells += editing::iconGridPicture(ui->Grid1, n / 7, n % 7).isNull() ? 0 : 1;
        panel->cmdCancel_Click();
    }
    if (cells != kIcons) {
        std::fprintf(stderr, "the panel drew %d icons of %d\n", cells, kIcons);
        return 1;
    }
    const double median = bench::medianMs(wall);
    std::printf("icon panel filled with %d icons (median of %d runs): %.1f ms wall, %.1f ms "
                "processor (bar %.0f ms) %s\n",
                kIcons, kRuns, median, bench::medianMs(cpu), kBarMs,
                median <= kBarMs ? "PASS" : "FAIL");
    return median <= kBarMs ? 0 : 1;
}
