// orvx extensions / types / show / count-lists: the index lists, the detail panel and the lists'
// file counts, computed by the code that fills the main window.

#include "model/default_registry.h"
#include "model/detail_view.h"
#include "model/list_filter.h"
#include "model/loading.h"
#include "platform/drive_map.h"
#include "platform/drives.h"
#include "reports/list_export.h"
#include "reports/report_sources.h"
#include "search/file_count_columns.h"
#include "search/file_walk.h"
#include "tools/orvx_commands.h"
#include "tools/orvx_detail_lookup.h"

#include <QFile>
#include <QFileInfo>
#include <atomic>

namespace orvanex::tools {

namespace {

// The chosen registry, made first when it is the default one and does not exist yet.
struct OpenModel {
    std::unique_ptr<reg::Registry> registry;
    reg::RegState state;
    platform::DriveMap drives;
};

// Whether the hive was read whole and is only closed to writing (its file's permissions), which
// the lists do not mind. Every other problem is damage or a failed read.
bool onlyNotWritable(const reg::Registry& registry, const QString& path) {
    const QFileInfo file(path);
    return file.isReadable() && !file.isWritable() &&
           !registry.problem().endsWith(QLatin1String("; the registry is read-only"));
}

// A Wine prefix: one of its files that cannot be read whole fails the command; a prefix that is
// only closed to writing (Wine runs in it) still lists.
bool openPrefixModel(OrvxContext& context, OpenModel& model) {
    model.registry = context.openRegistry();
    if (!model.registry)
        return false;
    if (model.registry->problem().endsWith(QLatin1String("; the registry is read-only"))) {
        context.fail(QStringLiteral("the registry cannot be read whole"));
        return false;
    }
    model.state.registry = model.registry.get();
    model.drives = platform::DriveMap::forHive(model.registry->hivePath());
    return true;
}

// A hive that cannot be read whole fails the command: a list of what could be read would pass for
// the registry's contents.
bool openModel(OrvxContext& context, OpenModel& model) {
    if (!context.registryChoice().isOwnHive())
        return openPrefixModel(context, model);
    const reg::HiveChoice hive = context.hive();
    const model::DefaultRegistryResult made = model::ensureDefaultRegistry(hive);
    if (!made.error.isEmpty()) {
        context.fail(made.error);
        return false;
    }
    model.registry = reg::Registry::openHive(hive.path);
    if (!model.registry) {
        context.fail(QStringLiteral("cannot open the registry %1").arg(hive.path));
        return false;
    }
    if (!model.registry->problem().isEmpty()) {
        if (!onlyNotWritable(*model.registry, hive.path)) {
            context.fail(model.registry->problem());
            return false;
        }
        context.err << "orvx: " << model.registry->problem() << Qt::endl;
    }
    model.state.registry = model.registry.get();
    model.drives = platform::DriveMap::forHive(model.registry->hivePath());
    return true;
}

void printRows(QTextStream& out, const QList<model::IndexRow>& rows) {
    for (const model::IndexRow& row : rows)
        out << row.text() << '\n';
    out.flush();
}

const QString kFilter = QStringLiteral("filter");
const QString kCsv = QStringLiteral("csv");

// One of the lists as the window shows it with the filter box holding --filter's text, printed
// as tab-separated rows or, with --csv, as CSV.
int listRows(OrvxContext& context, const QStringList& args, bool types) {
    if (!args.isEmpty())
        return context.fail(
            QStringLiteral("usage: orvx %1 [--filter TEXT] [--csv]")
                .arg(types ? QStringLiteral("types") : QStringLiteral("extensions")));
    OpenModel m;
    if (!openModel(context, m))
        return 1;
    model::ExtensionLoad extensions = model::LoadExtensions(m.state);
    model::FileTypeLoad fileTypes;
    if (types || context.isSet(kFilter))
        fileTypes = model::BuildFileTypes(extensions.entries);
    QList<model::IndexRow> rows = types ? fileTypes.rows : extensions.rows;
    if (context.isSet(kFilter)) {
        // The texts the filter box finds rows by, gathered as the window's start-up does.
        const model::AuxiliaryLists lists =
            model::GatherAuxiliaryLists(m.state, m.drives, fileTypes.types);
        const model::ListFilter filter(extensions.entries, lists.typeTexts);
        const QString text = context.value(kFilter);
        rows = types ? model::filterTypeRows(rows, filter, text)
                     : model::filterExtensionRows(rows, filter, text);
    }
    if (!context.isSet(kCsv)) {
        printRows(context.out, rows);
        return 0;
    }
    context.out.flush();
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return context.fail(QStringLiteral("could not write the list"));
    const QByteArray csv =
        reports::listCsv(types ? reports::fileTypeListHeaders() : reports::extensionListHeaders(),
                         reports::reportRows(rows, 4));
    return out.write(csv) == csv.size() && out.flush()
               ? 0
               : context.fail(QStringLiteral("could not write the list"));
}

int listExtensions(OrvxContext& context, const QStringList& args) {
    return listRows(context, args, false);
}

int listTypes(OrvxContext& context, const QStringList& args) {
    return listRows(context, args, true);
}

QList<QCommandLineOption> listOptions() {
    return {QCommandLineOption(kFilter,
                               QStringLiteral("extensions, types: only the rows whose extension, "
                                              "type key, description, content type, open command "
                                              "or icon contains <text> (any case)."),
                               QStringLiteral("text")),
            QCommandLineOption(kCsv, QStringLiteral("extensions, types: CSV with a header row."))};
}

QString field(const QString& text) {
    return text.trimmed().isEmpty() ? QStringLiteral("-") : text;
}

void printDetail(OpenModel& m, QTextStream& out, const model::DetailView& v) {
    if (!v.txtExt.isEmpty())
        out << "Extension:\t" << v.txtExt << '\n';
    out << "Description:\t" << v.txtDesc << '\n';
    out << (v.txtExt.isEmpty() ? "Extensions:\t" : "Related extensions:\t") << field(v.txtRel)
        << '\n';
    if (!v.txtExt.isEmpty())
        out << "Content type:\t" << field(v.txtMIME) << '\n';
    out << "Type key:\t" << field(v.CurrentTypeKey) << '\n';
    out << "Icon value:\t" << field(v.icon.Raw) << '\n';
    out << "Icon file:\t" << field(v.txtIcon) << '\n';
    out << "Icon native path:\t" << field(v.iconNativePath) << '\n';
    out << "Icon index:\t" << field(v.txtIconNumber) << '\n';
    out << "Icon count:\t" << v.iconCount << '\n';
    out << "Icon drawn:\t" << (v.picIcon.isNull() ? "no" : "yes") << '\n';
    out << "Always show extension:\t" << v.flags.AlwaysShowExt << '\n';
    out << "Quick view:\t" << v.flags.QuickView << '\n';
    out << "Protected:\t" << (v.deleteExtEnabled ? "no" : "yes") << '\n';
    out << "Default action:\t" << field(v.actions.DefaultLabel) << '\n';
    out << "Actions:\t" << v.actions.CountText << '\n';
    for (const model::ActionEntry& row : v.actions.actions) {
        const model::ActionDetail d =
            model::LoadActionDetail(m.state, v.CurrentTypeKey, v.actions, row.DisplayName);
        out << "  Action:\t" << d.ActionName << "\t(verb " << row.Verb << ")\n";
        out << "    Command:\t" << field(row.Command) << '\n';
        out << "    Default:\t" << d.action.IsDefault << '\n';
        out << "    Uses DDE:\t" << d.action.UsesDde << '\n';
        if (d.action.UsesDde == model::kYes) {
            out << "    DDE message:\t" << field(d.action.DdeMessage) << '\n';
            out << "    DDE application:\t" << field(d.action.DdeApplication) << '\n';
            out << "    DDE not running:\t" << field(d.action.DdeNotRunning) << '\n';
            out << "    DDE topic:\t" << field(d.action.DdeTopic) << '\n';
        }
    }
    out << "Status:\t" << v.status << '\n';
    out.flush();
}

int show(OrvxContext& context, const QStringList& args) {
    if (args.size() != 1)
        return context.fail(QStringLiteral("usage: orvx show .EXT|*|Unknown|TYPE"));
    OpenModel m;
    if (!openModel(context, m))
        return 1;
    const NamedDetail detail = lookUpDetail(m.state, m.drives, args.first());
    if (!detail.found)
        return context.fail(detail.error);
    printDetail(m, context.out, detail.view);
    return 0;
}

// Both lists with their "# files" and " Size(Bytes)" columns filled as the window's count fills
// them, then the status line's totals; the walk covers every drive unless --in names a folder.
int countLists(OrvxContext& context, const QStringList& args) {
    const bool inFolder = context.isSet(QStringLiteral("in"));
    if (!args.isEmpty() || (inFolder && context.isSet(QStringLiteral("all-drives"))))
        return context.fail(QStringLiteral("usage: orvx count-lists [--in FOLDER | --all-drives]"));
    OpenModel m;
    if (!openModel(context, m))
        return 1;
    const search::NameFilter every;
    std::optional<search::FileWalk> walk;
    if (inFolder) {
        QString folder = context.value(QStringLiteral("in"));
        if (folder.size() >= 2 && folder[1] == u':' && folder[0].isLetter())
            folder = m.drives.toNative(folder);
        if (folder.isEmpty() || !QFileInfo(folder).isDir())
            return context.fail(
                QStringLiteral("no such folder: %1").arg(context.value(QStringLiteral("in"))));
        walk.emplace(
            search::FileWalk::folderTree(m.drives, QFileInfo(folder).absoluteFilePath(), every));
    } else {
        walk.emplace(search::FileWalk::allDrives(m.drives, every));
    }
    search::FileCounts counts;
    const std::atomic_bool stop{false};
    walk->run(counts, stop);

    model::ExtensionLoad extensions = model::LoadExtensions(m.state);
    model::FileTypeLoad types = model::BuildFileTypes(extensions.entries);
    search::FillTypeCounts(types.rows, counts);
    const search::CountTotals totals = search::FillExtensionCounts(extensions.rows, counts);
    printRows(context.out, extensions.rows);
    context.out << '\n';
    printRows(context.out, types.rows);
    context.out << '\n' << search::CountTotalsText(totals) << '\n';
    context.out.flush();
    return context.out.status() == QTextStream::Ok
               ? 0
               : context.fail(QStringLiteral("could not write the lists"));
}

} // namespace

QList<OrvxCommand> modelCommands() {
    return {
        {QStringLiteral("extensions"), QStringLiteral("extensions [--filter TEXT] [--csv]"),
         QStringLiteral("the extension list, one tab-separated row per line, as sorted at start"),
         listExtensions, listOptions()},
        {QStringLiteral("types"), QStringLiteral("types [--filter TEXT] [--csv]"),
         QStringLiteral("the file-type list, one tab-separated row per line, as sorted at start"),
         listTypes, listOptions()},
        {QStringLiteral("show"), QStringLiteral("show .EXT|TYPE"),
         QStringLiteral("the detail of one extension (\".txt\") or file type"), show},
        {QStringLiteral("count-lists"),
         QStringLiteral("count-lists [--in FOLDER | --all-drives]"),
         QStringLiteral("both lists with their file counts (every drive unless --in), a blank "
                        "line between, then the totals"),
         countLists,
         {QCommandLineOption(
              QStringLiteral("in"),
              QStringLiteral("find, count, count-lists: walk <folder> (native or C:\\...)."),
              QStringLiteral("folder")),
          QCommandLineOption(QStringLiteral("all-drives"),
                             QStringLiteral("find, count, count-lists: walk every drive."))}},
    };
}

} // namespace orvanex::tools
