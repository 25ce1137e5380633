#include "search/file_launch.h"

#include "platform/desktop_apps.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace orvanex::search {

namespace {

LaunchCommand forApp(const platform::DesktopApp& app, const QString& nativePath) {
    if (!app.valid())
        return {};
    return {app.executable, platform::commandForFile(app, nativePath)};
}

} // namespace

QString NoOpenWithText() {
    return QStringLiteral("No Open With Program Associated With This File!");
}

LaunchCommand OpenCommand(const QString& nativePath) {
    return forApp(platform::defaultApplicationForFile(nativePath), nativePath);
}

LaunchCommand EditCommand(const QString& nativePath) {
    return forApp(platform::defaultApplicationFor(QStringLiteral("text/plain")), nativePath);
}

LaunchCommand ViewCommand(const QString& nativePath, const QString& appFolder) {
    QString viewer = appFolder + QStringLiteral("/pelusa");
    if (appFolder.isEmpty() || !QFileInfo(viewer).isExecutable())
        viewer = QCoreApplication::applicationDirPath() + QStringLiteral("/pelusa");
    return {viewer, {viewer, nativePath}};
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
    return forApp(platform::defaultApplicationFor(QStringLiteral("inode/directory")),
                  QFileInfo(nativePath).absolutePath());
}

bool StartLaunch(const LaunchCommand& launch) {
    return launch.valid() && QProcess::startDetached(launch.command.first(), launch.command.mid(1));
}

} // namespace orvanex::search
