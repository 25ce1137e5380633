#include "desktop/host_folders.h"

#include <QDir>

namespace orvanex::desktop {

HostFolders HostFolders::fromEnvironment() {
    HostFolders f;
    f.home = qEnvironmentVariable("HOME", QDir::homePath());
    // The XDG rule: an unset, empty or relative value falls back to the default.
    const auto folder = [&](const char* name, const QString& fallback) {
        const QString value = qEnvironmentVariable(name);
        return value.startsWith(u'/') ? QDir::cleanPath(value) : f.home + fallback;
    };
    f.dataHome = folder("XDG_DATA_HOME", QStringLiteral("/.local/share"));
    f.configHome = folder("XDG_CONFIG_HOME", QStringLiteral("/.config"));
    return f;
}

QString normalPrefix(const QString& prefix) {
    return prefix.isEmpty() ? QString() : QDir::cleanPath(QDir(prefix).absolutePath());
}

} // namespace orvanex::desktop
