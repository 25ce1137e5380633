#pragma once
// Where the Linux desktop keeps what Wine's menu builder writes: the XDG data and config folders
// (XDG_DATA_HOME, XDG_CONFIG_HOME, else below HOME), read from the environment at each call so
// that a test or a script can point them elsewhere.

#include <QString>

namespace orvanex::desktop {

struct HostFolders {
    QString dataHome;   // ~/.local/share
    QString configHome; // ~/.config
    QString home;

    static HostFolders fromEnvironment();

    QString applications() const { return dataHome + QStringLiteral("/applications"); }
    QString mimeFolder() const { return dataHome + QStringLiteral("/mime"); }
    QString mimePackages() const { return dataHome + QStringLiteral("/mime/packages"); }
    QString hicolor() const { return dataHome + QStringLiteral("/icons/hicolor"); }
    QString mimeappsList() const { return configHome + QStringLiteral("/mimeapps.list"); }
    // The prefix Wine uses when WINEPREFIX is not set.
    QString defaultPrefix() const { return home + QStringLiteral("/.wine"); }
};

// A prefix path as entries and options are compared: absolute, cleaned, no trailing slash.
QString normalPrefix(const QString& prefix);

} // namespace orvanex::desktop
