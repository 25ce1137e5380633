#include "search/file_launch.h"

#include "platform/desktop_apps.h"
#include "platform/regular_file.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace orvanex::search {

LaunchCommand AppCommand(const platform::DesktopApp& app, const QString& nativePath) {
    if (!app.valid())
        return {};
    QStringList command = platform::commandForFile(app, nativePath);
    if (app.terminal) {
        // Started on its own it would find no terminal and end at once, showing nothing.
        const QString terminal =
            QStandardPaths::findExecutable(QStringLiteral("x-terminal-emulator"));
        if (terminal.isEmpty())
            return {app.executable,
                    {},
                    app.executable + QStringLiteral(" runs in a terminal, and this desktop has "
                                                    "none (x-terminal-emulator).")};
        command = QStringList{terminal, QStringLiteral("-e")} + command;
    }
    return {app.executable, command, QString()};
}

QString NoOpenWithText() {
    return QStringLiteral("No Open With Program Associated With This File!");
}

LaunchCommand OpenCommand(const QString& nativePath) {
    return AppCommand(platform::defaultApplicationForFile(nativePath), nativePath);
}

LaunchCommand EditCommand(const QString& nativePath) {
    return AppCommand(platform::defaultApplicationFor(QStringLiteral("text/plain"), true),
                      nativePath);
}

QString ViewRefusal(const QString& nativePath) {
    return platform::notRegularFileReason(QFile::encodeName(nativePath));
}

LaunchCommand ViewCommand(const QString& nativePath, const QString& appFolder) {
    QString viewer = appFolder + QStringLiteral("/pelusa");
    if (appFolder.isEmpty() || !QFileInfo(viewer).isExecutable())
        viewer = QCoreApplication::applicationDirPath() + QStringLiteral("/pelusa");
    return {viewer, {viewer, nativePath}, QString()};
}

bool AskFileManager(const QString& method, const QString& nativePath) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call =
        QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.FileManager1"),
                                       QStringLiteral("/org/freedesktop/FileManager1"),
                                       QStringLiteral("org.freedesktop.FileManager1"), method);
    call << QStringList{QUrl::fromLocalFile(nativePath).toString(QUrl::FullyEncoded)} << QString();
    const QDBusMessage reply = bus.call(call, QDBus::Block, 3000);
    return reply.type() == QDBusMessage::ReplyMessage;
}

LaunchCommand FolderCommand(const QString& nativePath) {
    return AppCommand(platform::defaultApplicationFor(QStringLiteral("inode/directory"), true),
                      QFileInfo(nativePath).absolutePath());
}

bool StartLaunch(const LaunchCommand& launch, QString* reason) {
    if (!launch.valid()) {
        if (reason)
            *reason = QStringLiteral("no program");
        return false;
    }
    QProcess process;
    process.setProgram(launch.command.first());
    process.setArguments(launch.command.mid(1));
    if (process.startDetached())
        return true;
    if (reason)
        *reason = process.errorString();
    return false;
}

QString CannotViewText(const QString& shownPath, const QString& reason) {
    return QStringLiteral("Cannot view ") + shownPath + QStringLiteral(": ") + reason;
}

QString LaunchErrorText(const LaunchCommand& launch, const QString& reason) {
    return launch.program + QStringLiteral(" ** Error ** could not be started: ") + reason;
}

QString NoFolderProgramText() {
    return QStringLiteral("No program on this desktop opens folders.");
}

} // namespace orvanex::search
