#include "registry/registry_choice.h"

#include "registry/nt_registry.h"
#include "registry/nt_windows.h"
#include "registry/wine_registry.h"

#include <QDir>

namespace orvanex::reg {

namespace {

bool locateOffline(const OfflineWindowsOptions& offline, NtLocation* where, QString* why) {
    if (!offline.windows.isEmpty())
        return locateWindows(offline.windows, offline.windowsUser, where, why);
    return locateHiveFiles(offline.ntHive, offline.ntUserClasses, where, why);
}

} // namespace

QString RegistryChoice::description() const {
    if (!winePrefix.isEmpty())
        return QStringLiteral("Wine prefix %1").arg(winePrefix);
    if (!offline.isEmpty()) {
        NtLocation where;
        QString why;
        if (locateOffline(offline, &where, &why))
            return describeLocation(where);
        return QStringLiteral("Windows registry %1")
            .arg(offline.windows.isEmpty() ? offline.ntHive : offline.windows);
    }
    return QStringLiteral("registry hive %1").arg(hive.path);
}

RegistryChoice chooseRegistry(const QString& hiveOption, const QString& winePrefixOption,
                              const OfflineWindowsOptions& offline) {
    RegistryChoice choice;
    if (hiveOption.isEmpty() && !winePrefixOption.isEmpty()) {
        choice.winePrefix = QDir::cleanPath(QDir::current().absoluteFilePath(winePrefixOption));
        return choice;
    }
    if (hiveOption.isEmpty() && !offline.isEmpty()) {
        choice.offline = offline;
        return choice;
    }
    choice.hive = chooseHive(hiveOption);
    return choice;
}

std::unique_ptr<Registry> openChosenRegistry(const RegistryChoice& choice, QString* error) {
    if (!choice.offline.isEmpty()) {
        NtLocation where;
        if (!locateOffline(choice.offline, &where, error))
            return nullptr;
        return openNtRegistry(where);
    }
    if (choice.winePrefix.isEmpty())
        return Registry::openHive(choice.hive.path);
    if (!isWinePrefix(choice.winePrefix, error))
        return nullptr;
    return openWineRegistry(choice.winePrefix);
}

} // namespace orvanex::reg
