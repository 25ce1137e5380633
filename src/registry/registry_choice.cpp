#include "registry/registry_choice.h"

#include "registry/wine_registry.h"

#include <QDir>

namespace orvanex::reg {

QString RegistryChoice::description() const {
    if (!winePrefix.isEmpty())
        return QStringLiteral("Wine prefix %1").arg(winePrefix);
    return QStringLiteral("registry hive %1").arg(hive.path);
}

RegistryChoice chooseRegistry(const QString& hiveOption, const QString& winePrefixOption) {
    RegistryChoice choice;
    if (hiveOption.isEmpty() && !winePrefixOption.isEmpty()) {
        choice.winePrefix = QDir::cleanPath(QDir::current().absoluteFilePath(winePrefixOption));
        return choice;
    }
    choice.hive = chooseHive(hiveOption);
    return choice;
}

std::unique_ptr<Registry> openChosenRegistry(const RegistryChoice& choice, QString* error) {
    if (choice.winePrefix.isEmpty())
        return Registry::openHive(choice.hive.path);
    if (!isWinePrefix(choice.winePrefix, error))
        return nullptr;
    return openWineRegistry(choice.winePrefix);
}

} // namespace orvanex::reg
