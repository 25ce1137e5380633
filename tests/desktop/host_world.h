#pragma once
// A Linux desktop as Wine's menu builder leaves it, in the test's own XDG folders: entries,
// packages, icons and mimeapps.list lines of two prefixes, one of which is gone.

#include <QByteArray>
#include <QString>

namespace orvanex::test {

struct HostWorld {
    QString dataHome, configHome;
    QString prefix;     // exists: .pdf, .rtf and .orvxdoc live, .gone stale
    QString gonePrefix; // deleted: .old orphan
    QString appFolder;  // holds the Backup folder
    QString mimeapps() const { return configHome + QStringLiteral("/mimeapps.list"); }
    QString entry(const QString& ext) const; // "pdf" -> .../wine-extension-pdf.desktop
    QString package(const QString& ext) const;
};

// A prefix from registry text (system.reg) with the associations the world needs, no Wine run.
QString makeTextPrefix(const QString& dir);
// A prefix made by wineboot -i, once per process; each caller gets a copy of its registry files
// (cp -a). "" when Wine is not installed.
QString bootedPrefix(const QString& dir);

// Gives prefix the world's associations and export log, writes the desktop files as Wine
// writes them, points XDG_DATA_HOME, XDG_CONFIG_HOME and XDG_DATA_DIRS at the world and runs
// update-mime-database over it.
HostWorld makeHostWorld(const QString& root, const QString& prefix);

// The desktop entry text Wine writes for an association.
QByteArray wineEntryText(const QString& prefix, const QString& progId, const QString& mime,
                         const QString& appName, const QString& icon);

// The files below a folder (the caches the desktop rebuilds left out) with their bytes,
// "relative path\n" + bytes, sorted: for comparing
// trees byte for byte.
QByteArray treeBytes(const QString& folder);
// One file's bytes ("<missing>" when it cannot be read), and a file written whole.
QByteArray fileBytes(const QString& path);
void writeText(const QString& path, const QByteArray& bytes);

} // namespace orvanex::test
