// The change path of the main window on a large registry: the backup of a file type with 60
// extensions, and Apply of an icon change (backup, durable write, update slot), on a hive file of
// 50,000 extensions. Prints wall and processor medians; exits 1 when a median passes 50 ms.

#include "backup/backup_routine.h"
#include "backup/update_slots.h"
#include "editing/apply_change.h"
#include "model/loading.h"
#include "model_hive_generator.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <unistd.h>
#include <vector>

#include "bench_timing.h"

using namespace orvanex;
using orvanex::bench::cpuMs;
using orvanex::bench::medianMs;

namespace {

struct Timing {
    double wall = 0;
    double cpu = 0;
};

Timing measure(int runs, const std::function<void()>& step) {
    std::vector<double> wall, cpu;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        const double c0 = cpuMs();
        step();
        wall.push_back(double(timer.nsecsElapsed()) / 1e6);
        cpu.push_back(cpuMs() - c0);
    }
    return {medianMs(wall), medianMs(cpu)};
}

// The disk's own flush time: a backup makes three durable writes (the file, its folder, the
// settings) and an Apply two more (the hive, the update slot), so this is their floor.
double syncMs(const QString& folder) {
    QFile file(folder + QStringLiteral("/sync-probe"));
    if (!file.open(QIODevice::WriteOnly))
        return -1;
    const Timing t = measure(15, [&] {
        file.write("x");
        file.flush();
        ::fsync(file.handle());
    });
    file.close();
    file.remove();
    return t.wall;
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir dir;
    if (!dir.isValid())
        return 2;
    // The benchmark's own settings and App folder, never the user's.
    qputenv("XDG_CONFIG_HOME", (dir.path() + QStringLiteral("/config")).toUtf8());
    QCoreApplication app(argc, argv);
    const QString appFolder = dir.path() + QStringLiteral("/app");
    QDir().mkpath(appFolder + QStringLiteral("/Backup"));

    auto registry = reg::Registry::openHive(dir.path() + QStringLiteral("/bench.hive"));
    bench::HiveSize size;
    size.extensions = 50000 - 60;
    size.fileTypes = 20000;
    size.actions = 40000;
    if (bench::generateClasses(*registry, size) != reg::status::Success)
        return 2;
    reg::RegState state;
    state.registry = registry.get();
    {
        reg::WriteBatch batch(*registry);
        reg::WriteText(state, QStringLiteral("manyfile"), QString(), QStringLiteral("Many"));
        reg::WriteText(state, QStringLiteral("manyfile\\DefaultIcon"), QString(),
                       QStringLiteral("many.exe"));
        reg::WriteText(state, QStringLiteral("manyfile\\Shell\\open\\command"), QString(),
                       QStringLiteral("many.exe %1"));
        for (int i = 0; i < 60; ++i)
            reg::WriteText(state, QStringLiteral(".mny%1").arg(i, 2, 10, QLatin1Char('0')),
                           QString(), QStringLiteral("manyfile"));
    }
    QList<model::ExtensionEntry> extensions = model::LoadExtensions(state).entries;
    QList<model::FileTypeEntry> types = model::BuildFileTypes(extensions).types;
    model::ResetUpdateSlots();
    QString many;
    for (const model::FileTypeEntry& t : types)
        if (t.TypeName == QLatin1String("manyfile"))
            many = t.Extensions;
    std::printf("registry: %lld extensions, %lld file types; the type has %lld extensions\n",
                qlonglong(extensions.size()), qlonglong(types.size()),
                qlonglong(many.split(u' ').size()));

    const int runs = 21;
    backup::BackupState backupState;
    backup::BackupRoutine routine(*registry, extensions, appFolder);
    const backup::BackupRequest request{backup::BackupRequest::Mode::FileType, many,
                                        QStringLiteral("Many")};
    const Timing backupTime = measure(runs, [&] {
        backupState.QuietBackup = 1;
        routine.run(request, backupState);
        if (backupState.BackupResult != QLatin1String("OK"))
            std::fprintf(stderr, "backup failed\n");
    });

    platform::DriveMap drives;
    backup::UpdateSlots slots;
    editing::EditContext ctx{state, drives, extensions, types, appFolder, backupState, slots};
    editing::ChangeFields fields;
    fields.CurrentTypeKey = QStringLiteral("manyfile");
    fields.txtDesc = QStringLiteral("Many");
    fields.txtIcon = fields.OldIconFile = QStringLiteral("many.exe");
    fields.OldQuickView = fields.OldAlwaysShow = model::kNo;
    fields.backup = request;
    fields.slot.FileType = QStringLiteral("Many");
    fields.slot.FileExtension = many;
    fields.slot.WhichKind = backup::whichKind(true, false);
    int flip = 0;
    const Timing applyTime = measure(runs, [&] {
        fields.txtIcon = QStringLiteral("icon%1.exe").arg(++flip);
        if (!editing::ApplyChange(ctx, fields).updated)
            std::fprintf(stderr, "apply failed\n");
    });

    const double bar = 50;
    std::printf("one durable write (fsync) on this disk: median %.1f ms\n", syncMs(appFolder));
    std::printf("backup of a type with 60 extensions: median %.1f ms wall, %.1f ms processor "
                "(bar %.0f ms)\n",
                backupTime.wall, backupTime.cpu, bar);
    std::printf("apply of an icon change: median %.1f ms wall, %.1f ms processor (bar %.0f ms)\n",
                applyTime.wall, applyTime.cpu, bar);
    return backupTime.wall <= bar && applyTime.wall <= bar ? 0 : 1;
}
