// orvx grep, count, drives and summary: the embedded-text search, the file counts, the about box's
// drive statistics and the file summary, through the code the windows use.

#include "about/drive_statistics.h"
#include "about/system_tools.h"
#include "platform/drive_map.h"
#include "platform/drives.h"
#include "registry/hive_location.h"
#include "search/file_counts.h"
#include "search/file_summary.h"
#include "search/file_summary_print.h"
#include "search/file_walk.h"
#include "search/text_scan.h"
#include "tools/orvx_commands.h"
#include "tools/orvx_paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace orvanex::tools {

namespace {

bool writeBytes(const QByteArray& bytes) {
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size());
}

int grep(OrvxContext& context, const QStringList& args) {
    if (args.size() < 2)
        return context.fail(QStringLiteral("usage: orvx grep TEXT FILE..."));
    // The window starts nothing for an empty text or a single blank; neither does the command.
    if (search::IsNoEmbeddedText(args[0]))
        return context.fail(search::EmbeddedTextNeededText());
    const std::optional<search::FoldedText> text = search::FoldedText::fromText(args[0]);
    const platform::DriveMap drives = platform::DriveMap::forHive(context.registryFile());
    const std::atomic_bool run{true};
    context.out.flush();
    int status = 0;
    bool writeFailed = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        // A text with a character outside the code page is in no file, but unreadable files are
        // still reported.
        const QByteArray native = QFile::encodeName(nativeOf(drives, args[i]));
        const search::ScanOutcome outcome = text
                                                ? search::ScanFileForText(native, *text, run)
                                                : (QFileInfo(QFile::decodeName(native)).isReadable()
                                                       ? search::ScanOutcome::NotFound
                                                       : search::ScanOutcome::Unreadable);
        if (outcome == search::ScanOutcome::Found)
            writeFailed |= !writeBytes(QFile::encodeName(args[i]) + '\n');
        else if (outcome == search::ScanOutcome::Unreadable) {
            context.err << "orvx: cannot read " << args[i] << Qt::endl;
            status = 1;
        }
    }
    if (std::fflush(stdout) != 0 || writeFailed)
        return context.fail(QStringLiteral("could not write the list"));
    return status;
}

int count(OrvxContext& context, const QStringList& args) {
    const QString folder = context.value(QStringLiteral("in"));
    const bool allDrives = context.isSet(QStringLiteral("all-drives"));
    if (!args.isEmpty() || (allDrives && context.isSet(QStringLiteral("in"))))
        return context.fail(QStringLiteral("usage: orvx count [--in FOLDER | --all-drives]"));

    const platform::DriveMap drives = platform::DriveMap::forHive(context.registryFile());
    const search::NameFilter every;
    search::FileWalk walk = [&] {
        if (allDrives)
            return search::FileWalk::allDrives(drives, every);
        const QString native = folder.isEmpty() ? QDir::currentPath() : nativeOf(drives, folder);
        return search::FileWalk::folderTree(drives, QFileInfo(native).absoluteFilePath(), every);
    }();
    if (!allDrives && !QFileInfo(QString::fromUtf8(walk.roots().first().native)).isDir())
        return context.fail(QStringLiteral("no such folder: %1").arg(folder));

    std::atomic_bool stop{false};
    search::FileCounts counts;
    walk.run(counts, stop);

    QByteArray text;
    for (const QByteArray& ext : counts.extensions()) {
        const search::ExtensionCount c = counts.count(ext);
        text +=
            ext + '\t' + QByteArray::number(c.files) + '\t' + QByteArray::number(c.bytes) + '\n';
    }
    // Lower case, so the line can never be taken for an (upper-cased) extension's.
    const search::ExtensionCount total = counts.total();
    text +=
        "total\t" + QByteArray::number(total.files) + '\t' + QByteArray::number(total.bytes) + '\n';
    context.out.flush();
    if (!writeBytes(text) || std::fflush(stdout) != 0)
        return context.fail(QStringLiteral("could not write the counts"));
    return 0;
}

int drivesCommand(OrvxContext& context, const QStringList& args) {
    if (!args.isEmpty())
        return context.fail(QStringLiteral("usage: orvx drives"));
    const platform::DriveMap drives = platform::DriveMap::forHive(context.registryFile());
    int status = 0;
    bool first = true;
    for (const platform::DriveRoot& root : platform::driveRoots(drives)) {
        if (!first)
            context.out << '\n';
        first = false;
        const auto stats = about::ReadDriveStatistics(QFile::decodeName(root.native));
        if (!stats) {
            context.err << "orvx: cannot read the statistics of " << root.windowsRoot << Qt::endl;
            status = 1;
            continue;
        }
        for (const QString& line : about::DriveStatisticsLines(root.windowsRoot, *stats))
            context.out << line << '\n';
    }
    context.out.flush();
    return status;
}

// One line per about-box tool: its name, where the choice came from, then the program and its
// arguments, tab-separated; "unavailable" when there is none.
QString toolLine(const QString& name, const about::ToolLaunch& tool) {
    if (!tool.available())
        return name + QStringLiteral("\tunavailable");
    QString line = name + u'\t' + tool.source + u'\t' + tool.command.join(u'\t');
    if (!tool.winePrefix.isEmpty())
        line += QStringLiteral("\tWINEPREFIX=") + tool.winePrefix;
    return line;
}

int systemTools(OrvxContext& context, const QStringList& args) {
    const QString start = context.value(QStringLiteral("start"));
    if (!args.isEmpty() || (context.isSet(QStringLiteral("start")) &&
                            start != QLatin1String("system") && start != QLatin1String("updates")))
        return context.fail(QStringLiteral("usage: orvx system-tools [--start system|updates]"));
    const platform::DriveMap drives = platform::DriveMap::forHive(context.registryFile());
    const std::unique_ptr<reg::Registry> registry = context.openRegistry();
    const about::ToolLaunch system = about::systemInformationTool(registry.get(), drives);
    const about::ToolLaunch updates = about::softwareUpdateTool();
    if (start.isEmpty()) {
        context.out << toolLine(QStringLiteral("system"), system) << '\n'
                    << toolLine(QStringLiteral("updates"), updates) << '\n';
        context.out.flush();
        return exitcode::Success;
    }
    // What the about box's buttons do.
    const about::ToolLaunch& tool = start == QLatin1String("system") ? system : updates;
    if (!tool.available())
        return context.fail(start == QLatin1String("system")
                                ? QStringLiteral("System Information Is Unavailable At This Time")
                                : QStringLiteral("Software Updates Are Unavailable At This Time"));
    if (!about::startTool(tool))
        return context.fail(QStringLiteral("%1 could not be started").arg(tool.command.first()));
    return exitcode::Success;
}

} // namespace

int summaryCommand(OrvxContext& context, const QStringList& args) {
    if (args.size() != 1 || args[0].isEmpty())
        return context.fail(QStringLiteral("usage: orvx summary FILE [--pdf OUT.pdf]"));
    const platform::DriveMap drives = platform::DriveMap::forHive(context.registryFile());
    const QString native = nativeOf(drives, args[0]);
    if (!QFileInfo::exists(native))
        return context.fail(QStringLiteral("no such file: %1").arg(args[0]));
    // The type name falls back to the desktop's when the registry cannot be read.
    const std::unique_ptr<reg::Registry> registry = context.openRegistry();
    const search::FileSummary facts =
        search::SummarizeFile(args[0], native, search::registryDescriber(registry.get()));
    const QString pdf = context.value(QStringLiteral("pdf"));
    if (context.isSet(QStringLiteral("pdf"))) {
        // The window's "&Print", into a file.
        const reports::PrintOutcome printed = search::writeFileSummaryPdf(pdf, facts);
        if (!printed.ok)
            return context.fail(printed.error);
        return exitcode::Success;
    }
    for (const search::SummaryLine& line : facts.lines)
        context.out << line.text() << '\n';
    context.out.flush();
    return exitcode::Success;
}

QList<OrvxCommand> insightCommands() {
    return {{QStringLiteral("grep"), QStringLiteral("grep TEXT FILE..."),
             QStringLiteral("print each file that holds the text (any case)"), grep},
            {QStringLiteral("count"),
             QStringLiteral("count [--in FOLDER | --all-drives]"),
             QStringLiteral("files and bytes per extension, then the totals"),
             count,
             {QCommandLineOption(QStringLiteral("in"),
                                 QStringLiteral("find, count: walk <folder> (native or C:\\...)."),
                                 QStringLiteral("folder")),
              QCommandLineOption(QStringLiteral("all-drives"),
                                 QStringLiteral("find, count: walk every drive."))}},
            {QStringLiteral("drives"), QStringLiteral("drives"),
             QStringLiteral("the statistics of every drive"), drivesCommand},
            {QStringLiteral("summary"),
             QStringLiteral("summary FILE [--pdf OUT.pdf]"),
             QStringLiteral("the file summary: type, size, version strings, launcher"),
             summaryCommand,
             {QCommandLineOption(QStringLiteral("pdf"),
                                 QStringLiteral("summary: print the summary into <file>."),
                                 QStringLiteral("file"))}},
            {QStringLiteral("system-tools"),
             QStringLiteral("system-tools [--start system|updates]"),
             QStringLiteral("the about box's system-information and update programs"),
             systemTools,
             {QCommandLineOption(QStringLiteral("start"),
                                 QStringLiteral("system-tools: start <tool> (system or updates)."),
                                 QStringLiteral("tool"))}}};
}

} // namespace orvanex::tools
