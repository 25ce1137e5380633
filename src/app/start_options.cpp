#include "app/start_options.h"

#include "platform/install_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTextStream>

namespace orvanex {

namespace {

void printUsage(QTextStream& out) {
    const QString help = platform::installedDataFolder() + QStringLiteral("/help/orvanex.html");
    out << "Usage: orvanex [--hive FILE] [--wine-prefix DIR] [--windows DIR [--windows-user "
           "NAME]]\n"
           "               [--nt-hive FILE [--nt-user-classes FILE]] [--user-app-folder]\n\n"
           "Browses and edits the file-type associations of a Windows registry.\n\n"
           "  --hive FILE          use the registry kept in FILE\n"
           "  --wine-prefix DIR    use the registry of the Wine prefix DIR\n"
           "  --windows DIR        use the registry of the Windows installation mounted at DIR\n"
           "  --windows-user NAME  with --windows: the user whose classes to use (needed when\n"
           "                       several users have them)\n"
           "  --nt-hive FILE       use the Windows SOFTWARE hive FILE\n"
           "  --nt-user-classes FILE  with --nt-hive: a user's classes hive (UsrClass.dat)\n"
           "  --user-app-folder    keep the Backup folder in the user's data folder\n"
           "                       (the App folder is the current directory otherwise)\n"
           "  --help               this text\n"
           "  --version            the version\n\n"
           "Backups: the Backup folder of the App folder.\n"
        << "Help: " << (QFileInfo(help).isFile() ? help : QStringLiteral("(not found)")) << '\n';
    out.flush();
}

} // namespace

std::optional<int> applyStartOptions(int argc, char** argv) {
    QStringList options;
    for (int i = 1; i < argc; ++i)
        options.append(QFile::decodeName(argv[i]));
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (options.contains(QLatin1String("--help")) || options.contains(QLatin1String("--version"))) {
        // Only the program's folder is needed; no window, so no display.
        QCoreApplication app(argc, argv);
        if (options.contains(QLatin1String("--help")))
            printUsage(out);
        else
            out << "orvanex " << ORVANEX_VERSION << Qt::endl;
        return 0;
    }
    if (options.contains(QLatin1String("--user-app-folder"))) {
        const QString folder = platform::userAppFolder();
        if (!QDir().mkpath(folder) || !QDir::setCurrent(folder)) {
            err << "orvanex: cannot use " << folder << " as the App folder" << Qt::endl;
            return 1;
        }
    }
    return std::nullopt;
}

} // namespace orvanex
