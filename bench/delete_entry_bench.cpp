// The delete path of the main window on a large registry: a file type with 60 extensions deleted
// from a hive file of 50,000 extensions, with its backup, the durable deletes and the rows taken
// out of both lists. The type is written back between runs (not timed). Prints wall and processor
// medians; exits 1 when the wall median passes 100 ms.

#include "editing/delete_entry.h"
#include "model/grid_rows.h"
#include "model/loading.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <vector>

#include "bench_many_type.h"
#include "bench_timing.h"

using namespace orvanex;
using orvanex::bench::cpuMs;
using orvanex::bench::medianMs;

namespace {

QList<model::IndexRow> extensionRows(const QList<model::ExtensionEntry>& entries) {
    QList<model::IndexRow> rows;
    for (const model::ExtensionEntry& e : entries)
        rows.append(model::extensionRow(e.Ext, e.Description));
    model::sortRows(rows, 0, true);
    return rows;
}

QList<model::IndexRow> typeRows(const QList<model::FileTypeEntry>& types) {
    QList<model::IndexRow> rows;
    for (const model::FileTypeEntry& t : types)
        rows.append(model::fileTypeRow(t.Description, t.Extensions));
    model::sortRows(rows, 0, true);
    return rows;
}

int run(bench::ManyTypeWorld& world) {
    reg::RegState& state = world.state;
    const QString& appFolder = world.appFolder;
    const QList<model::ExtensionEntry>& allExtensions = world.extensions;
    const QList<model::FileTypeEntry>& allTypes = world.types;
    const QList<model::IndexRow> allExtensionRows = extensionRows(allExtensions);
    const QList<model::IndexRow> allTypeRows = typeRows(allTypes);
    const QString& many = world.many;

    std::unique_ptr<model::IndexGridModel> extensionGrid(model::makeExtensionGridModel(nullptr));
    std::unique_ptr<model::IndexGridModel> typeGrid(model::makeFileTypeGridModel(nullptr));
    platform::DriveMap drives;
    backup::BackupState backupState;
    backup::UpdateSlots slots;
    editing::DeleteFields fields;
    fields.byType = true;
    fields.CurrentTypeKey = QStringLiteral("manyfile");
    fields.txtDesc = QStringLiteral("Many");
    fields.txtRel = many;
    fields.backup = {backup::BackupRequest::Mode::FileType, many, QStringLiteral("Many")};

    const int runs = 21;
    std::vector<double> wall, cpu, rowsWall;
    for (int i = 0; i < runs; ++i) {
        bench::writeManyType(*world.registry, state);
        QList<model::ExtensionEntry> extensions = allExtensions;
        QList<model::FileTypeEntry> types = allTypes;
        extensionGrid->setRecords(allExtensionRows);
        typeGrid->setRecords(allTypeRows);
        editing::EditContext ctx{state, drives, extensions, types, appFolder, backupState, slots};

        QElapsedTimer timer;
        timer.start();
        const double c0 = cpuMs();
        const editing::DeleteOutcome out = editing::DeleteEntry(ctx, fields);
        const qint64 rowsStart = timer.nsecsElapsed();
        editing::removeDeletedRows(*extensionGrid, *typeGrid, out);
        wall.push_back(double(timer.nsecsElapsed()) / 1e6);
        rowsWall.push_back(double(timer.nsecsElapsed() - rowsStart) / 1e6);
        cpu.push_back(cpuMs() - c0);

        if (!out.deleted || backupState.BackupResult != QLatin1String("OK") ||
            out.removedExtensions.size() != 60 ||
            extensionGrid->recordCount() != allExtensionRows.size() - 60 ||
            typeGrid->recordCount() != allTypeRows.size() - 1) {
            std::fprintf(stderr, "the deletion failed: %s\n", qPrintable(out.status));
            return 2;
        }
    }
    const double bar = 100;
    const double wallMedian = medianMs(wall);
    std::printf("delete of a type with 60 extensions (backup, deletes, list rows): median %.1f ms "
                "wall, %.1f ms processor (bar %.0f ms)\n",
                wallMedian, medianMs(cpu), bar);
    std::printf("  of which the list rows: median %.1f ms wall\n", medianMs(rowsWall));
    return wallMedian <= bar ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    return bench::runOverManyType(argc, argv, run);
}
