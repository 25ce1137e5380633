#include "tools/orvx_commands.h"

#include <QCommandLineParser>
#include <QImage>
#include <QSaveFile>

namespace orvanex::tools {

reg::HiveChoice OrvxContext::hive() const {
    return reg::chooseHive(hiveOption);
}

reg::RegistryChoice OrvxContext::registryChoice() const {
    return reg::chooseRegistry(hiveOption, winePrefixOption);
}

QString OrvxContext::registryFile() const {
    const reg::RegistryChoice choice = registryChoice();
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
