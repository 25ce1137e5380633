#pragma once
// The texts Wine's menu builder writes for a file association: the desktop entry
// wine-extension-EXT.desktop and the MIME package x-wine-extension-EXT.xml, read and written.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

namespace orvanex::desktop {

// ".pdf" of "wine-extension-pdf.desktop" (prefix "wine-extension-", suffix ".desktop"), or of
// "x-wine-extension-pdf.xml"; "" for any other name.
QString extensionOfFileName(const QString& fileName, const QString& prefix, const QString& suffix);
QString extensionOfEntryName(const QString& fileName);
QString extensionOfPackageName(const QString& fileName);
QString entryFileName(const QString& ext);   // ".PDF" -> "wine-extension-pdf.desktop"
QString packageFileName(const QString& ext); // ".PDF" -> "x-wine-extension-pdf.xml"

// The keys of the [Desktop Entry] group (other groups, comments and localised keys left out).
QHash<QString, QString> desktopEntryKeys(const QByteArray& text);

// From an Exec line as Wine writes it: the WINEPREFIX="..." of "env", else defaultPrefix; and
// the ProgID after /ProgIDOpen ("" when there is none).
QString prefixOfExec(const QString& exec, const QString& defaultPrefix);
QString progIdOfExec(const QString& exec);

// The names of the icon files an icon name may have under an icon folder.
QStringList iconFileNames(const QString& iconName);

struct AssociationEntry {
    QString appName; // the program's friendly name
    QString mimeType;
    QString prefix; // "" writes no WINEPREFIX, as for Wine's default prefix
    QString progId;
    QString icon; // "" for none
};
QByteArray associationEntryText(const AssociationEntry& entry);

// The package that teaches the desktop a type for "*.ext".
QByteArray mimePackageText(const QString& mimeType, const QString& ext, const QString& comment);
// The type a package names ("" when none).
QString packageMimeType(const QByteArray& text);
// The icon name of a package's type: its <icon name=…>, else the type with '/' as '-'.
QString packageIconName(const QByteArray& text);

} // namespace orvanex::desktop
