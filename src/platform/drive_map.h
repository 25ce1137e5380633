#pragma once
// Drive letters of Windows paths mapped onto native folders. Windows names are case-insensitive,
// so a path resolves component by component without regard to case.

#include <QMap>
#include <QString>
#include <memory>

namespace orvanex::platform {

class DriveMap {
public:
    DriveMap() = default;
    // The map for a registry kept in hivePath: a Wine prefix's dosdevices beside it when present,
    // else C: = <hive folder>/drive_c; Z: = / unless taken.
    static DriveMap forHive(const QString& hivePath);
    // The C: folder forHive gives for a hive (where the default registry puts its files).
    static QString driveCFolderForHive(const QString& hivePath);

    void setDrive(QChar letter, const QString& nativeFolder);
    QString driveFolder(QChar letter) const; // empty when unmapped
    const QMap<QChar, QString>& drives() const { return m_drives; }

    // The native path of a Windows path ("C:\WINDOWS\notepad.exe", "c:/x"): existing components
    // are matched without regard to case; the rest is appended as written. Empty when the path
    // has no mapped drive letter.
    QString toNative(const QString& windowsPath) const;
    // True when the Windows path names an existing file (not a folder).
    bool fileExists(const QString& windowsPath) const;
    // "C:\..." for a native path below a mapped folder (the longest match); empty otherwise.
    QString toWindows(const QString& nativePath) const;

    static QString windowsDirectory(); // C:\WINDOWS
    static QString systemDirectory();  // C:\WINDOWS\SYSTEM

private:
    QString matchEntry(const QString& folder, const QString& name) const;

    QMap<QChar, QString> m_drives; // upper-case letter -> native folder
    // Folder listings for names that differ in case from what is on disk, kept while the
    // folder's change time stays the same. Shared by copies of the map.
    struct ListingCache;
    mutable std::shared_ptr<ListingCache> m_cache;
};

} // namespace orvanex::platform
