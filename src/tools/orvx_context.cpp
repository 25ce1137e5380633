#include "tools/orvx_commands.h"

#include "registry/nt_windows.h"

#include <QCommandLineParser>
#include <QImage>
#include <QSaveFile>

namespace orvanex::tools {

reg::HiveChoice OrvxContext::hive() const {
    return reg::chooseHive(hiveOption);
}

reg::RegistryChoice OrvxContext::registryChoice() const {
    return reg::chooseRegistry(hiveOption, winePrefixOption, offlineOptions);
}

QString OrvxContext::registryFile() const {
    const reg::RegistryChoice choice = registryChoice();
    if (!choice.offline.isEmpty()) {
        const reg::OfflineWindowsOptions& o = choice.offline;
        reg::NtLocation where;
        QString why;
        const bool found = o.windows.isEmpty()
                               ? reg::locateHiveFiles(o.ntHive, o.ntUserClasses, &where, &why)
                               : reg::locateWindows(o.windows, o.windowsUser, &where, &why);
        return found ? where.machineHive : QString();
    }
    return choice.winePrefix.isEmpty() ? choice.hive.path
                                       : choice.winePrefix + QStringLiteral("/system.reg");
}

std::unique_ptr<reg::Registry> OrvxContext::openRegistry() {
    const reg::RegistryChoice choice = registryChoice();
    QString error;
    auto registry = reg::openChosenRegistry(choice, &error);
    if (!registry)
        fail(error.isEmpty() ? QStringLiteral("cannot open the registry %1").arg(choice.hive.path)
                             : error);
    else if (!registry->problem().isEmpty())
        err << "orvx: " << registry->problem() << Qt::endl;
    return registry;
}

bool savePng(const QImage& picture, const QString& path) {
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && picture.save(&file, "PNG") && file.commit();
}

QCommandLineOption pngOption() {
    return QCommandLineOption(QStringLiteral("png"),
                              QStringLiteral("icon-panel, image: save the picture into <file>."),
                              QStringLiteral("file"));
}

int OrvxContext::fail(const QString& message) {
    err << "orvx: " << message << Qt::endl;
    return exitcode::Failure;
}

bool OrvxContext::isSet(const QString& option) const {
    return parser && parser->isSet(option);
}

QString OrvxContext::value(const QString& option) const {
    return parser ? parser->value(option) : QString();
}

} // namespace orvanex::tools
