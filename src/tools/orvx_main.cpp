// orvx: scripts' way into the registry and file-type code that the program uses.

#include "tools/orvx_commands.h"
#include "tools/orvx_paths.h"

#include <QCommandLineParser>
#include <QCoreApplication>

using namespace orvanex::tools;

namespace {

// Every command group, one line each.
const std::function<QList<OrvxCommand>()> CommandGroups[] = {
    registryCommands, platformCommands, modelCommands,  searchCommands,
    fileCommands,     reportCommands,   backupCommands, insightCommands,
    editCommands,     iconCommands,     checkCommands,  hostCommands,
};

QList<OrvxCommand> allCommands() {
    QList<OrvxCommand> all;
    for (const auto& group : CommandGroups)
        all += group();
    return all;
}

const QCommandLineOption HiveOption(QStringLiteral("hive"),
                                    QStringLiteral("Use the registry in <file> (not empty)."),
                                    QStringLiteral("file"));
const QCommandLineOption
    WinePrefixOption(QStringLiteral("wine-prefix"),
                     QStringLiteral("Use the registry of the Wine prefix <dir>."),
                     QStringLiteral("dir"));
const QCommandLineOption
    WindowsOption(QStringLiteral("windows"),
                  QStringLiteral("Use the registry of the Windows installation mounted at <dir>."),
                  QStringLiteral("dir"));
const QCommandLineOption WindowsUserOption(
    QStringLiteral("windows-user"),
    QStringLiteral("With --windows: the user whose classes to use (needed when several have "
                   "them)."),
    QStringLiteral("name"));
const QCommandLineOption NtHiveOption(QStringLiteral("nt-hive"),
                                      QStringLiteral("Use the Windows SOFTWARE hive <file>."),
                                      QStringLiteral("file"));
const QCommandLineOption
    NtUserClassesOption(QStringLiteral("nt-user-classes"),
                        QStringLiteral("With --nt-hive: a user's classes hive (UsrClass.dat)."),
                        QStringLiteral("file"));
const QCommandLineOption HelpOption({QStringLiteral("h"), QStringLiteral("help")},
                                    QStringLiteral("Show this text."));
const QCommandLineOption VersionOption(QStringLiteral("version"),
                                       QStringLiteral("Show the version."));
// Options that every command takes, one line each; main() reads them into the context.
const QCommandLineOption* const GlobalOptions[] = {
    &HiveOption,   &WinePrefixOption,    &WindowsOption, &WindowsUserOption,
    &NtHiveOption, &NtUserClassesOption, &HelpOption,    &VersionOption};

void setUp(QCommandLineParser& parser, const QList<OrvxCommand>& commands) {
    parser.setApplicationDescription(
        QStringLiteral("Reads and changes the file-type associations of an ORVANEX registry.\n"
                       "The registry is the one named by --hive, else the Wine prefix named by "
                       "--wine-prefix, else the Windows installation named by --windows (or "
                       "the Windows hive files named by --nt-hive), else the hive named by "
                       "ORVANEX_HIVE, else the default hive."));
    QStringList known;
    for (const QCommandLineOption* o : GlobalOptions) {
        known += o->names();
        parser.addOption(*o);
    }
    for (const OrvxCommand& c : commands)
        for (const QCommandLineOption& o : c.options)
            if (!known.contains(o.names().first())) {
                known += o.names();
                parser.addOption(o);
            }
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("The command to run (see below)."),
                                 QStringLiteral("COMMAND [ARGS]"));
}

QString helpText(const QCommandLineParser& parser, const QList<OrvxCommand>& commands) {
    QString text = parser.helpText();
    // The parser names the program as it was started; scripts know it as orvx.
    const qsizetype end = text.indexOf(QLatin1String(" [options]"));
    if (text.startsWith(QLatin1String("Usage: ")) && end > 0)
        text.replace(7, end - 7, QStringLiteral("orvx"));
    text += QStringLiteral("\nCommands:\n");
    for (const OrvxCommand& c : commands)
        text += QStringLiteral("  %1 %2\n").arg(c.usage.leftJustified(44), c.summary);
    text += QStringLiteral(
        "\nExit status:\n"
        "  0  done: everything was read, written or imported\n"
        "  1  nothing done: the command was refused or failed (the reason is on standard "
        "error), or query found nothing\n"
        "  2  compare: the two differ\n"
        "  3  done in part: some lines or items were skipped (the summary says how many)\n");
    return text;
}

// The command named on the command line: the first word that is neither an option nor the value
// of one of orvx's own options.
QString commandName(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--"))
            return i + 1 < arguments.size() ? arguments[i + 1] : QString();
        bool takesValue = false;
        for (const QCommandLineOption* o : GlobalOptions)
            for (const QString& name : o->names())
                takesValue = takesValue || (!o->valueName().isEmpty() && a == "--" + name);
        if (takesValue)
            ++i;
        else if (!a.startsWith(u'-'))
            return a;
    }
    return QString();
}

// The options the command line set that belong to neither orvx nor the chosen command.
QStringList foreignOptions(const QCommandLineParser& parser, const OrvxCommand& command) {
    QStringList foreign;
    for (const QString& name : parser.optionNames()) {
        bool own = false;
        for (const QCommandLineOption* o : GlobalOptions)
            own = own || o->names().contains(name);
        for (const QCommandLineOption& o : command.options)
            own = own || o.names().contains(name);
        if (!own)
            foreign += name;
    }
    return foreign;
}

} // namespace

int main(int argc, char** argv) {
    const auto application = makeOrvxApplication(argc, argv);
    QCoreApplication& app = *application;
    QCoreApplication::setApplicationName(QStringLiteral("orvx"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVANEX_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);
    OrvxContext context{QString(), out, err};

    // Qt cannot carry a name that is not valid in the locale's encoding: refuse it rather than
    // open another file under a mangled name.
    for (int i = 1; i < argc; ++i)
        if (!keepsItsBytes(argv[i]))
            return context.fail(QStringLiteral("argument %1 (%2) is not valid UTF-8; orvx cannot "
                                               "keep its bytes")
                                    .arg(i)
                                    .arg(escapedBytes(argv[i])));

    const QList<OrvxCommand> commands = allCommands();
    // Only the named command's options are known to the parser, so that two commands may give one
    // option name different meanings (a flag in one, a yes/no value in another).
    QList<OrvxCommand> optionSource;
    const QString named = commandName(app.arguments());
    for (const OrvxCommand& c : commands)
        if (c.name == named)
            optionSource.append(c);
    if (optionSource.isEmpty())
        optionSource = commands;
    QCommandLineParser parser;
    setUp(parser, optionSource);
    context.parser = &parser;
    if (!parser.parse(app.arguments())) {
        // An option of another command is named as such, not as unknown.
        for (const QString& unknown : parser.unknownOptionNames())
            for (const OrvxCommand& c : commands)
                for (const QCommandLineOption& o : c.options)
                    if (o.names().contains(unknown) && !named.isEmpty())
                        return context.fail(
                            QStringLiteral("%1 takes no option %2 (see orvx --help)")
                                .arg(named, unknown));
        return context.fail(parser.errorText() + QStringLiteral(" (see orvx --help)"));
    }
    if (parser.isSet(HelpOption)) {
        out << helpText(parser, commands);
        out.flush();
        return exitcode::Success;
    }
    if (parser.isSet(VersionOption)) {
        out << "orvx " << ORVANEX_VERSION << Qt::endl;
        return exitcode::Success;
    }
    if (parser.isSet(HiveOption)) {
        const QStringList values = parser.values(HiveOption);
        if (values.size() > 1)
            return context.fail(QStringLiteral("--hive is given more than once"));
        // An empty name, as from an unset variable in a script, must not reach the default hive.
        if (values.first().isEmpty())
            return context.fail(QStringLiteral("--hive needs a file name; it was given an empty "
                                               "one"));
        context.hiveOption = values.first();
    } else if (const QByteArray env = qgetenv("ORVANEX_HIVE"); !keepsItsBytes(env)) {
        return context.fail(QStringLiteral("ORVANEX_HIVE (%1) is not valid UTF-8; orvx cannot "
                                           "keep its bytes")
                                .arg(escapedBytes(env)));
    }

    if (parser.isSet(WinePrefixOption)) {
        context.winePrefixOption = parser.value(WinePrefixOption);
        if (context.winePrefixOption.isEmpty())
            return context.fail(QStringLiteral("--wine-prefix needs a folder; it was given an "
                                               "empty one"));
    }

    // A name given empty, as from an unset variable in a script, must not fall through to
    // another registry.
    const std::pair<const QCommandLineOption*, QString*> offline[] = {
        {&WindowsOption, &context.offlineOptions.windows},
        {&WindowsUserOption, &context.offlineOptions.windowsUser},
        {&NtHiveOption, &context.offlineOptions.ntHive},
        {&NtUserClassesOption, &context.offlineOptions.ntUserClasses}};
    for (const auto& [option, field] : offline) {
        if (!parser.isSet(*option))
            continue;
        *field = parser.value(*option);
        if (field->isEmpty())
            return context.fail(QStringLiteral("--%1 needs a value; it was given an empty one")
                                    .arg(option->names().first()));
    }
    if (!context.offlineOptions.windows.isEmpty() && !context.offlineOptions.ntHive.isEmpty())
        return context.fail(QStringLiteral("--windows and --nt-hive name two registries; give "
                                           "one of them"));
    if (!context.offlineOptions.windowsUser.isEmpty() && context.offlineOptions.windows.isEmpty())
        return context.fail(QStringLiteral("--windows-user goes with --windows"));
    if (!context.offlineOptions.ntUserClasses.isEmpty() && context.offlineOptions.ntHive.isEmpty())
        return context.fail(QStringLiteral("--nt-user-classes goes with --nt-hive"));

    QStringList args = parser.positionalArguments();
    if (args.isEmpty())
        return context.fail(QStringLiteral("no command given (see orvx --help)"));
    const QString name = args.takeFirst();
    for (const OrvxCommand& c : commands) {
        if (c.name != name)
            continue;
        const QStringList foreign = foreignOptions(parser, c);
        if (!foreign.isEmpty())
            return context.fail(QStringLiteral("%1 takes no option %2 (see orvx --help)")
                                    .arg(name, foreign.first()));
        return c.run(context, args);
    }
    return context.fail(QStringLiteral("unknown command %1 (see orvx --help)").arg(name));
}
