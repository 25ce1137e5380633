// The change path of the main window on a large registry: the backup of a file type with 60
// extensions, and Apply of an icon change (backup, durable write, update slot), on a hive file of
// 50,000 extensions. Prints wall and processor medians; exits 1 when a median passes 50 ms.

#include "backup/backup_routine.h"
#include "backup/update_slots.h"
#include "editing/apply_change.h"
#include "model/loading.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <functional>
#include <unistd.h>
#include <vector>

#include "bench_many_type.h"
#include "bench_timing.h"

using namespace orvanex;
using orvanex::bench::cpuMs;
using orvanex::bench::measure;
using orvanex::bench::medianMs;
using orvanex::bench::Timing;

namespace {

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

int run(bench::ManyTypeWorld& world) {
    reg::RegState& state = world.state;
    const QString& appFolder = world.appFolder;
    QList<model::ExtensionEntry>& extensions = world.extensions;
    QList<model::FileTypeEntry>& types = world.types;
    model::ResetUpdateSlots();
    const QString& many = world.many;

    const int runs = 21;
    backup::BackupState backupState;
    backup::BackupRoutine routine(*world.registry, extensions, appFolder);
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

} // namespace

int main(int argc, char** argv) {
    return bench::runOverManyType(argc, argv, run);
}
