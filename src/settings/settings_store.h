#pragma once
// Per-user settings: texts addressed by application name, section and key. One INI-style file per
// application in the user's config folder, written atomically. A save locks the file, reads it
// again and applies only this process's changes, so two programs saving at once keep each
// other's keys.

#include <QString>

namespace orvanex {

// The application names of the two programs.
inline constexpr char kMainAppName[] = "ORVX120";
inline constexpr char kViewerAppName[] = "PELU120";

// get with default; never reports a missing key.
QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue = QString());
// Creates or replaces. Returns false (and says why on standard error) when it could not be stored.
bool SaveSetting(const QString& appName, const QString& section, const QString& key,
                 const QString& value);
// Removes a whole section with its keys.
bool DeleteSetting(const QString& appName, const QString& section);

// The file that holds an application's settings.
QString settingsFilePath(const QString& appName);

// While one lives, saves of appName are kept in memory and written once when the last batch ends:
// for runs of many saves (the ten update slots at start-up).
class SettingsBatch {
public:
    explicit SettingsBatch(QString appName);
    ~SettingsBatch();
    SettingsBatch(const SettingsBatch&) = delete;
    SettingsBatch& operator=(const SettingsBatch&) = delete;

private:
    QString m_appName;
};

} // namespace orvanex
