// orvx host list|remove|restore|add|disable: the host entries Wine's menu builder leaves on the
// Linux desktop, through the same core code as the window "Linux Desktop Entries".

#include "desktop/host_change.h"
#include "desktop/host_scan.h"
#include "settings/app_folder.h"
#include "tools/orvx_commands.h"

namespace orvanex::tools {

namespace {

const QString kUsage =
    QStringLiteral("host list | remove .EXT|--orphans|--stale | restore NAME | add .EXT | disable "
                   "[--wine-prefix DIR]");

int finish(OrvxContext& context, const desktop::HostOutcome& outcome) {
    for (const QString& m : outcome.messages)
        context.out << m << '\n';
    context.out.flush();
    for (const QString& p : outcome.problems)
        context.err << "orvx: " << p << '\n';
    context.err.flush();
    return outcome.ok ? exitcode::Success : exitcode::Failure;
}

QString appFolder() {
    const QString folder = currentAppFolder();
    createBackupFolder(folder);
    return folder;
}

int remove(OrvxContext& context, const QStringList& args, const desktop::HostFolders& folders) {
    const bool orphans = context.isSet(QStringLiteral("orphans"));
    const bool stale = context.isSet(QStringLiteral("stale"));
    if (int(orphans) + int(stale) + int(args.size()) != 1)
        return context.fail(QStringLiteral("usage: orvx host remove .EXT|--orphans|--stale "
                                           "[--wine-prefix DIR]"));
    QString ext;
    if (!args.isEmpty() && (ext = desktop::normalExtension(args.first())).isEmpty())
        return context.fail(QStringLiteral("%1 is no file extension").arg(args.first()));
    const QList<desktop::HostItem> all = desktop::scanHostItems(folders, context.winePrefixOption);
    const QList<desktop::HostItem> chosen =
        desktop::entriesOf(all, [&](const desktop::HostItem& i) {
            if (orphans)
                return i.state == desktop::HostState::Orphan;
            if (stale)
                return i.state == desktop::HostState::Stale;
            return i.ext == ext;
        });
    if (chosen.isEmpty()) {
        context.out << "nothing to remove" << Qt::endl;
        return exitcode::Success;
    }
    return finish(context, desktop::removeHostItems(folders, chosen, appFolder()));
}

int host(OrvxContext& context, const QStringList& allArgs) {
    if (allArgs.isEmpty())
        return context.fail(QStringLiteral("usage: orvx ") + kUsage);
    const QString action = allArgs.first();
    const QStringList args = allArgs.mid(1);
    const desktop::HostFolders folders = desktop::HostFolders::fromEnvironment();
    if (action == QLatin1String("list")) {
        if (!args.isEmpty())
            return context.fail(QStringLiteral("usage: orvx host list [--wine-prefix DIR]"));
        for (const desktop::HostItem& i : desktop::scanHostItems(folders, context.winePrefixOption))
            context.out << desktop::listLine(i) << '\n';
        context.out.flush();
        return exitcode::Success;
    }
    if (action == QLatin1String("remove"))
        return remove(context, args, folders);
    if (action == QLatin1String("restore")) {
        if (args.size() != 1)
            return context.fail(QStringLiteral("usage: orvx host restore NAME"));
        return finish(context, desktop::restoreHostBackup(folders, args.first(), appFolder()));
    }
    if (action == QLatin1String("add")) {
        if (args.size() != 1 || context.winePrefixOption.isEmpty())
            return context.fail(QStringLiteral("usage: orvx host add .EXT --wine-prefix DIR"));
        return finish(context,
                      desktop::addHostEntry(folders, context.winePrefixOption, args.first()));
    }
    if (action == QLatin1String("disable")) {
        if (!args.isEmpty() || context.winePrefixOption.isEmpty())
            return context.fail(QStringLiteral("usage: orvx host disable --wine-prefix DIR"));
        return finish(context, desktop::disableWineExport(context.winePrefixOption, appFolder()));
    }
    return context.fail(
        QStringLiteral("unknown host action %1 (usage: orvx %2)").arg(action, kUsage));
}

} // namespace

QList<OrvxCommand> hostCommands() {
    return {
        {QStringLiteral("host"),
         kUsage,
         QStringLiteral("the Linux desktop entries Wine writes: list (EXT KIND STATE PREFIX "
                        "PATH), remove after a backup, restore, add, switch the export off"),
         host,
         {QCommandLineOption(QStringLiteral("orphans"),
                             QStringLiteral("host remove: the entries of prefixes that are gone.")),
          QCommandLineOption(QStringLiteral("stale"),
                             QStringLiteral("host remove: the entries whose prefix no longer has "
                                            "the association."))}},
    };
}

} // namespace orvanex::tools
