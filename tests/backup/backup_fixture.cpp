#include "backup/backup_fixture.h"

#include "model/loading.h"
#include "registry/reg_file.h"
#include "settings/app_folder.h"
#include "settings/settings_store.h"
#include "support/test_env.h"

#include <QFile>
#include <gtest/gtest.h>

namespace orvanex::test {

BackupFixture::BackupFixture(const QString& name) : m_registry(reg::Registry::inMemory()) {
    m_state.registry = m_registry.get();
    appFolder = freshDir(name);
    createBackupFolder(appFolder);
    resetSettings();
}

QString BackupFixture::backupFolder() const {
    return backupFolderPath(appFolder);
}

void BackupFixture::write(const QString& keyPath, const QString& valueName, const QString& text) {
    ASSERT_EQ(reg::WriteText(m_state, keyPath, valueName, text), 0) << keyPath.toStdString();
}

void BackupFixture::addType(const QString& typeName, const QString& description,
                            const QStringList& exts) {
    write(typeName, QString(), description);
    write(typeName + "\\Shell\\open\\command", QString(), "edit.exe %1");
    for (const QString& ext : exts)
        write(ext, QString(), typeName);
}

void BackupFixture::load() {
    extensions = model::LoadExtensions(m_state).entries;
    fileTypes = model::BuildFileTypes(extensions).types;
}

QByteArray BackupFixture::exportOf(const QString& key) {
    const reg::RegExport e =
        reg::exportRegFile(*m_registry, "HKEY_CLASSES_ROOT\\" + key, reg::RegFormat::Regedit4);
    EXPECT_EQ(e.status, 0) << e.error.toStdString();
    return e.bytes;
}

QString BackupFixture::backupExtension(const QString& ext, backup::BackupState& state) {
    QString description;
    for (const model::ExtensionEntry& e : extensions)
        if (e.Ext == ext) {
            description = e.Description;
            break;
        }
    return backup::BackupRoutine(*m_registry, extensions, appFolder)
        .run({backup::BackupRequest::Mode::Extension, ext, description}, state);
}

QString BackupFixture::backupType(const QString& typeName, backup::BackupState& state) {
    for (const model::FileTypeEntry& t : fileTypes)
        if (t.TypeName == typeName)
            return backup::BackupRoutine(*m_registry, extensions, appFolder)
                .run({backup::BackupRequest::Mode::FileType, t.Extensions, t.Description}, state);
    ADD_FAILURE() << "no type " << typeName.toStdString();
    return QString();
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

void resetSettings() {
    QFile::remove(settingsFilePath(QString::fromLatin1(kMainAppName)));
}

} // namespace orvanex::test
