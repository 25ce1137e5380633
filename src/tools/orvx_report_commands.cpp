// orvx report / diff / merge: the printed reports into PDF files, what merging a .reg file would
// change, and the merge of a recorded backup, through the code the windows use.

#include "backup/backup_list.h"
#include "backup/backup_merge.h"
#include "backup/backup_records.h"
#include "model/default_registry.h"
#include "model/loading.h"
#include "platform/drive_map.h"
#include "registry/hive_location.h"
#include "registry/reg_diff.h"
#include "reports/list_export.h"
#include "reports/report_pdf.h"
#include "reports/report_sources.h"
#include "settings/app_folder.h"
#include "tools/orvx_commands.h"
#include "tools/orvx_detail_lookup.h"

#include <QFile>
#include <QGuiApplication>

namespace orvanex::tools {

namespace {

constexpr int kExitChanges = 3;

struct ReportModel {
    std::unique_ptr<reg::Registry> registry;
    reg::RegState state;
    platform::DriveMap drives;
};

bool openReportModel(OrvxContext& context, ReportModel& m) {
    const reg::HiveChoice hive = context.hive();
    const model::DefaultRegistryResult made = model::ensureDefaultRegistry(hive);
    if (!made.error.isEmpty()) {
        context.fail(made.error);
        return false;
    }
    m.registry = context.openRegistry();
    if (!m.registry)
        return false;
    // A report of part of a damaged hive would pass for the registry's contents.
    if (!m.registry->problem().isEmpty()) {
        context.fail(m.registry->problem());
        return false;
    }
    m.state.registry = m.registry.get();
    m.drives = platform::DriveMap::forHive(m.registry->hivePath());
    return true;
}

int finish(OrvxContext& context, const reports::PrintOutcome& outcome, const QString& path) {
    if (!outcome.ok)
        return context.fail(outcome.error);
    context.out << path << ": " << outcome.pages << (outcome.pages == 1 ? " page" : " pages")
                << Qt::endl;
    return 0;
}

// The detail of ".EXT" or of a type (key name or description), as the detail panel shows it.
int reportDetail(OrvxContext& context, ReportModel& m, const QString& name, const QString& out) {
    const NamedDetail detail = lookUpDetail(m.state, m.drives, name);
    if (!detail.found)
        return context.fail(detail.error);
    return finish(context,
                  reports::writeDetailReportPdf(
                      out, reports::detailReportFor(m.state, detail.view, detail.isType),
                      QDateTime::currentDateTime()),
                  out);
}

// A list as CSV or HTML (by the name's suffix), as the window's "Export List…" writes it.
int exportListFile(OrvxContext& context, bool types, const model::ExtensionLoad& extensions,
                   const QString& path, const QDateTime& now) {
    const QList<model::IndexRow> rows =
        types ? model::BuildFileTypes(extensions.entries).rows : extensions.rows;
    const reports::ExportOutcome out = reports::exportList(
        path,
        types ? QStringLiteral("Registered File Types")
              : QStringLiteral("Registered File Extensions"),
        types ? reports::fileTypeListHeaders() : reports::extensionListHeaders(),
        reports::reportRows(rows, 4), now);
    if (!out.ok)
        return context.fail(out.error);
    context.out << path << ": " << rows.size() << " rows" << Qt::endl;
    return 0;
}

int report(OrvxContext& context, const QStringList& args) {
    const QString usage = QStringLiteral(
        "usage: orvx report extensions|types|backups OUT.pdf, orvx report extensions|types "
        "OUT.html|OUT.csv, or orvx report detail .EXT|TYPE OUT.pdf");
    if (args.isEmpty())
        return context.fail(usage);
    const QString what = args.first();
    const QDateTime now = QDateTime::currentDateTime();
    if (what == QLatin1String("backups") && args.size() == 2) {
        QList<QStringList> rows;
        for (const backup::BackupRow& row : backup::loadBackupRows())
            rows.append(row.cells().mid(0, 5));
        return finish(context,
                      reports::writeListReportPdf(args[1], reports::backupListLayout(), rows,
                                                  reports::kDefaultRowStepTwips, now),
                      args[1]);
    }
    const bool list = what == QLatin1String("extensions") || what == QLatin1String("types");
    if (!(list && args.size() == 2) && !(what == QLatin1String("detail") && args.size() == 3))
        return context.fail(usage);
    ReportModel m;
    if (!openReportModel(context, m))
        return 1;
    if (what == QLatin1String("detail"))
        return reportDetail(context, m, args[1], args[2]);
    const model::ExtensionLoad extensions = model::LoadExtensions(m.state);
    if (reports::listFormatFor(args[1]) != reports::ListFormat::Unknown)
        return exportListFile(context, what == QLatin1String("types"), extensions, args[1], now);
    if (what == QLatin1String("extensions"))
        return finish(context,
                      reports::writeListReportPdf(args[1], reports::extensionListLayout(),
                                                  reports::reportRows(extensions.rows, 4),
                                                  reports::kDefaultRowStepTwips, now),
                      args[1]);
    const model::FileTypeLoad types = model::BuildFileTypes(extensions.entries);
    return finish(context,
                  reports::writeListReportPdf(args[1], reports::fileTypeListLayout(),
                                              reports::reportRows(types.rows, 4),
                                              reports::kDefaultRowStepTwips, now),
                  args[1]);
}

int diff(OrvxContext& context, const QStringList& args) {
    if (args.size() != 1)
        return context.fail(QStringLiteral("usage: orvx diff FILE.reg"));
    auto registry = context.openRegistry();
    if (!registry)
        return 1;
    const backup::MergePreview preview = backup::previewMerge(*registry, args.first());
    if (!preview.readable)
        return context.fail(preview.error);
    for (const reg::RegSkippedLine& s : preview.diff.skipped)
        context.err << "orvx: line " << s.line << " would be skipped (" << s.why << "): " << s.text
                    << '\n';
    context.err.flush();
    for (const reg::RegChange& c : preview.diff.changes)
        context.out << reg::describeRegChange(c) << '\n';
    context.out.flush();
    return preview.diff.changes.empty() ? 0 : kExitChanges;
}

int merge(OrvxContext& context, const QStringList& args) {
    if (args.size() != 1 || !args.first().startsWith(QLatin1String("Reg")))
        return context.fail(QStringLiteral("usage: orvx merge RegNNNN"));
    const QString record = args.first().left(7);
    auto registry = context.openRegistry();
    if (!registry)
        return 1;
    const QString path = backup::backupRecordPath(record, currentAppFolder());
    const backup::MergeOutcome outcome = backup::mergeBackupFile(*registry, path);
    for (const QString& p : outcome.problems)
        context.err << "orvx: " << p << '\n';
    // Marked only when the merge wrote all it read.
    if (!outcome.wrote)
        return context.fail(outcome.message);
    if (!outcome.complete) {
        context.err << "orvx: " << outcome.message << Qt::endl;
        return exitcode::Partial;
    }
    if (!backup::markRecordMerged(record))
        return context.fail(
            QStringLiteral("%1 was merged, but its record could not be marked").arg(record));
    context.out << outcome.message << Qt::endl;
    return 0;
}

int deleteBackup(OrvxContext& context, const QStringList& args) {
    if (args.size() != 1 || !args.first().startsWith(QLatin1String("Reg")))
        return context.fail(QStringLiteral("usage: orvx delete-backup RegNNNN"));
    const QString record = args.first().left(7);
    backup::BackupRecord known;
    const QString appFolder = currentAppFolder();
    if (!backup::readBackupRecord(record, &known) &&
        !QFile::exists(backup::backupRecordPath(record, appFolder)))
        return context.fail(QStringLiteral("no backup %1").arg(record));
    const backup::BackupDeletion deletion = backup::deleteBackup(record, appFolder);
    if (!deletion.ok)
        return context.fail(deletion.message);
    context.out << deletion.message << Qt::endl;
    return exitcode::Success;
}

} // namespace

QList<OrvxCommand> reportCommands() {
    return {
        {QStringLiteral("report"), QStringLiteral("report extensions|types|backups OUT.pdf"),
         QStringLiteral("a list report as printed, into a PDF file"), report},
        {QStringLiteral("report"), QStringLiteral("report extensions|types OUT.html|OUT.csv"),
         QStringLiteral("a list as one self-contained HTML page, or as CSV"), report},
        {QStringLiteral("report"), QStringLiteral("report detail .EXT|TYPE OUT.pdf"),
         QStringLiteral("the detail report of one extension or file type, into a PDF file"),
         report},
        {QStringLiteral("diff"), QStringLiteral("diff FILE.reg"),
         QStringLiteral("what merging the file would change (exit 3 when anything)"), diff},
        {QStringLiteral("merge"), QStringLiteral("merge RegNNNN"),
         QStringLiteral("merge a recorded backup into the registry and mark its record"), merge},
        {QStringLiteral("delete-backup"), QStringLiteral("delete-backup RegNNNN"),
         QStringLiteral("send a recorded backup's file to the trash and drop its record"),
         deleteBackup},
    };
}

std::unique_ptr<QCoreApplication> makeOrvxApplication(int& argc, char** argv) {
    // Reports lay out text, which needs fonts and so a GUI application; no window is ever shown.
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "report") == 0 || qstrcmp(argv[i], "summary") == 0) {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            return std::make_unique<QGuiApplication>(argc, argv);
        }
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace orvanex::tools
