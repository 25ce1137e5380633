// orvx: scripts' way into the registry and file-type code that the program uses.

#include "tools/orvx_commands.h"

#include <QCoreApplication>

#include <cstdio>

using namespace orvanex::tools;

namespace {

QList<OrvxCommand> allCommands() {
    QList<OrvxCommand> all = registryCommands();
    all += platformCommands();
    all += modelCommands();
    all += searchCommands();
    all += insightCommands();
    return all;
}

void printHelp(QTextStream& out, const QList<OrvxCommand>& commands) {
    out << "Usage: orvx [--hive FILE] COMMAND [ARGS]\n\n"
           "Reads and changes the file-type associations of an ORVANEX registry.\n"
           "The registry is the default hive, the one named by ORVANEX_HIVE, or --hive FILE.\n\n"
           "Commands:\n";
    for (const OrvxCommand& c : commands)
        out << "  " << c.usage.leftJustified(44) << ' ' << c.summary << '\n';
    out << "\n  --help                                       this text\n"
           "  --version                                    the version\n";
    out.flush();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);
    OrvxContext context{QString(), out, err};

    while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
        const QString option = args.takeFirst();
        if (option == QLatin1String("--help")) {
            printHelp(out, allCommands());
            return 0;
        }
        if (option == QLatin1String("--version")) {
            out << "orvx " << ORVANEX_VERSION << Qt::endl;
            return 0;
        }
        if (option == QLatin1String("--hive") && !args.isEmpty()) {
            context.hiveOption = args.takeFirst();
            continue;
        }
        if (option.startsWith(QLatin1String("--hive="))) {
            context.hiveOption = option.mid(7);
            continue;
        }
        return context.fail(QStringLiteral("unknown option %1 (see orvx --help)").arg(option));
    }
    if (args.isEmpty())
        return context.fail(QStringLiteral("no command given (see orvx --help)"));

    // A --hive after the command is accepted too.
    for (qsizetype i = 0; i + 1 < args.size(); ++i)
        if (args[i] == QLatin1String("--hive")) {
            context.hiveOption = args[i + 1];
            args.remove(i, 2);
            break;
        }

    const QString name = args.takeFirst();
    for (const OrvxCommand& c : allCommands())
        if (c.name == name)
            return c.run(context, args);
    return context.fail(QStringLiteral("unknown command %1 (see orvx --help)").arg(name));
}
