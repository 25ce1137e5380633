#include "platform/desktop_apps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStandardPaths>
#include <QTextStream>
#include <QUrl>

namespace orvanex::platform {

namespace {

QStringList envDirs(const char* name, const QString& fallback) {
    QStringList dirs = qEnvironmentVariable(name, fallback).split(u':', Qt::SkipEmptyParts);
    return dirs;
}

QStringList configDirs() {
    QStringList dirs{qEnvironmentVariable("XDG_CONFIG_HOME", QDir::homePath() + "/.config")};
    dirs += envDirs("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
    return dirs;
}

QStringList dataDirs() {
    QStringList dirs{qEnvironmentVariable("XDG_DATA_HOME", QDir::homePath() + "/.local/share")};
    dirs += envDirs("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
    return dirs;
}

// The [section] of an INI-like desktop file as key -> value (no locale keys); QSettings would
// mangle ';'-lists and keys with '/'.
QHash<QString, QString> readSection(const QString& path, const QString& section) {
    QHash<QString, QString> values;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return values;
    QTextStream in(&file);
    bool inside = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(u'[')) {
            inside = line == u'[' + section + u']';
            continue;
        }
        if (!inside || line.startsWith(u'#'))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq > 0)
            values.insert(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
    }
    return values;
}

QString desktopFilePath(const QString& id) {
    for (const QString& dir : dataDirs()) {
        const QString path = dir + QStringLiteral("/applications/") + id;
        if (QFileInfo::exists(path))
            return path;
        // A "vendor-app.desktop" id may live as vendor/app.desktop.
        QString nested = id;
        const qsizetype dash = nested.indexOf(u'-');
        if (dash > 0) {
            nested[dash] = u'/';
            if (QFileInfo::exists(dir + QStringLiteral("/applications/") + nested))
                return dir + QStringLiteral("/applications/") + nested;
        }
    }
    return QString();
}

DesktopApp loadApp(const QString& id) {
    DesktopApp app;
    const QString path = desktopFilePath(id);
    if (path.isEmpty())
        return app;
    const QHash<QString, QString> entry = readSection(path, QStringLiteral("Desktop Entry"));
    if (entry.value(QStringLiteral("Hidden")) == QLatin1String("true"))
        return app;
    const QStringList exec = splitExec(entry.value(QStringLiteral("Exec")));
    if (exec.isEmpty())
        return app;
    QString program = exec.first();
    if (!program.contains(u'/'))
        program = QStandardPaths::findExecutable(program);
    if (program.isEmpty() || !QFileInfo(program).isExecutable())
        return app;
    app.id = id;
    app.name = entry.value(QStringLiteral("Name"));
    app.executable = program;
    app.exec = exec;
    app.terminal = entry.value(QStringLiteral("Terminal")) == QLatin1String("true");
    return app;
}

// The ids listed for mimeType in the mimeapps.list files and the defaults and caches, in order.
QStringList candidateIds(const QString& mimeType) {
    QStringList ids;
    QStringList lists;
    for (const QString& dir : configDirs())
        lists << dir + QStringLiteral("/mimeapps.list");
    for (const QString& dir : dataDirs())
        lists << dir + QStringLiteral("/applications/mimeapps.list")
              << dir + QStringLiteral("/applications/defaults.list");
    for (const QString& list : lists)
        for (const QString& id : readSection(list, QStringLiteral("Default Applications"))
                                     .value(mimeType)
                                     .split(u';', Qt::SkipEmptyParts))
            ids << id;
    // Any installed application that says it handles the type.
    for (const QString& dir : dataDirs())
        for (const QString& id : readSection(dir + QStringLiteral("/applications/mimeinfo.cache"),
                                             QStringLiteral("MIME Cache"))
                                     .value(mimeType)
                                     .split(u';', Qt::SkipEmptyParts))
            ids << id;
    return ids;
}

} // namespace

QStringList splitExec(const QString& exec) {
    QStringList args;
    QString current;
    bool inQuotes = false;
    bool any = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (inQuotes) {
            if (c == u'\\' && i + 1 < exec.size()) {
                current += exec[++i];
            } else if (c == u'"') {
                inQuotes = false;
            } else {
                current += c;
            }
        } else if (c == u'"') {
            inQuotes = true;
            any = true;
        } else if (c == u' ' || c == u'\t') {
            if (any || !current.isEmpty())
                args << current;
            current.clear();
            any = false;
        } else {
            current += c;
        }
    }
    if (any || !current.isEmpty())
        args << current;
    return args;
}

QStringList commandForFile(const DesktopApp& app, const QString& file) {
    QStringList command;
    bool placed = false;
    for (qsizetype i = 0; i < app.exec.size(); ++i) {
        const QString& arg = i == 0 ? app.executable : app.exec[i];
        if (i == 0) {
            command << arg;
            continue;
        }
        if (arg == QLatin1String("%f") || arg == QLatin1String("%F") ||
            arg == QLatin1String("%u") || arg == QLatin1String("%U")) {
            command << (arg.endsWith(u'u', Qt::CaseInsensitive)
                            ? QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded)
                            : file);
            placed = true;
            continue;
        }
        if (arg.size() == 2 && arg[0] == u'%')
            continue; // %i %c %k and the deprecated codes
        QString text = arg;
        text.replace(QStringLiteral("%%"), QStringLiteral("%"));
        command << text;
    }
    if (!placed)
        command << file;
    return command;
}

DesktopApp defaultApplicationFor(const QString& mimeType, bool preferGraphical) {
    const QMimeDatabase db;
    QStringList types{mimeType};
    const QMimeType mime = db.mimeTypeForName(mimeType);
    if (mime.isValid())
        types += mime.allAncestors();
    DesktopApp inTerminal;
    for (const QString& type : types)
        for (const QString& id : candidateIds(type)) {
            DesktopApp app = loadApp(id);
            if (!app.valid())
                continue;
            if (!preferGraphical || !app.terminal)
                return app;
            if (!inTerminal.valid())
                inTerminal = std::move(app);
        }
    return inTerminal;
}

DesktopApp defaultApplicationForFile(const QString& path) {
    // Only a regular file's content is read: reading a FIFO would wait for a writer.
    const QMimeType mime = QMimeDatabase().mimeTypeForFile(
        path,
        QFileInfo(path).isFile() ? QMimeDatabase::MatchDefault : QMimeDatabase::MatchExtension);
    return defaultApplicationFor(mime.name());
}

} // namespace orvanex::platform
