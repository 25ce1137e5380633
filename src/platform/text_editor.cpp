#include "platform/text_editor.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace orvanex::platform {

namespace {

// The .desktop file name xdg-mime reports for text/plain; empty when none or no xdg-mime.
QString defaultTextApplication() {
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty())
        return QString();
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/plain")});
    if (!query.waitForFinished(5000) || query.exitCode() != 0)
        return QString();
    return QString::fromUtf8(query.readAllStandardOutput()).trimmed();
}

// The Exec line of a desktop entry's main group.
QString desktopExecLine(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    bool mainGroup = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(u'['))
            mainGroup = line == QLatin1String("[Desktop Entry]");
        else if (mainGroup && line.startsWith(QLatin1String("Exec=")))
            return line.mid(5);
    }
    return QString();
}

// Splits an Exec line at blanks outside double quotes, undoing the quoting's escapes.
QStringList splitExec(const QString& line) {
    QStringList words;
    QString word;
    bool quoted = false, inWord = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted && c == u'\\' && i + 1 < line.size()) {
            word += line[++i];
        } else if (c == u'"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && c.isSpace()) {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quoted)
        return {};
    if (inWord)
        words << word;
    return words;
}

} // namespace

QStringList desktopExecCommand(const QString& execLine, const QString& file) {
    QStringList command;
    bool placed = false;
    for (const QString& word : splitExec(execLine)) {
        if (word == QLatin1String("%f") || word == QLatin1String("%F") ||
            word == QLatin1String("%u") || word == QLatin1String("%U")) {
            command << file;
            placed = true;
            continue;
        }
        // Other field codes (%i, %c, %k, ...) carry nothing a text file needs.
        if (word.size() == 2 && word[0] == u'%')
            continue;
        QString w = word;
        command << w.replace(QLatin1String("%%"), QLatin1String("%"));
    }
    if (command.isEmpty())
        return {};
    if (!placed)
        command << file;
    return command;
}

QStringList textEditorCommand(const QString& file, const QString& viewerProgram) {
    const QString desktop = defaultTextApplication();
    if (!desktop.isEmpty()) {
        const QString path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, desktop);
        if (!path.isEmpty()) {
            const QStringList command = desktopExecCommand(desktopExecLine(path), file);
            if (!command.isEmpty() && !QStandardPaths::findExecutable(command.first()).isEmpty())
                return command;
        }
    }
    return {viewerProgram, file};
}

bool openInTextEditor(const QString& file, const QString& viewerProgram) {
    QStringList command = textEditorCommand(file, viewerProgram);
    const QString program = command.takeFirst();
    return QProcess::startDetached(program, command);
}

} // namespace orvanex::platform
