#pragma once
// A registry in memory with file types written by the test, the extension table loaded from it as
// at start-up, fresh settings and a fresh App folder.

#include "backup/backup_routine.h"
#include "model/file_type_model.h"
#include "registry/reg_state.h"

#include <QStringList>
#include <memory>

namespace orvanex::test {

class BackupFixture {
public:
    explicit BackupFixture(const QString& name);

    reg::Registry& registry() { return *m_registry; }
    reg::RegState& state() { return m_state; }
    void write(const QString& keyPath, const QString& valueName, const QString& text);
    // typeName with its description, extensions (with dots) pointing to it, and an open verb.
    void addType(const QString& typeName, const QString& description, const QStringList& exts);
    // Loads the extension table and file-type list from the registry.
    void load();

    QList<model::ExtensionEntry> extensions;
    QList<model::FileTypeEntry> fileTypes;
    QString appFolder;
    QString backupFolder() const;

    // The REGEDIT4 export of one key below HKEY_CLASSES_ROOT.
    QByteArray exportOf(const QString& key);
    // A backup through the routine; returns the status text.
    QString backupExtension(const QString& ext, backup::BackupState& state);
    QString backupType(const QString& typeName, backup::BackupState& state);

private:
    std::unique_ptr<reg::Registry> m_registry;
    reg::RegState m_state;
};

QByteArray readFile(const QString& path);
// Removes the settings of the program (the test process shares one settings file).
void resetSettings();

} // namespace orvanex::test
