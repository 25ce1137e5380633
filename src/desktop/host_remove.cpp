// Removing host entries after their backup, and restoring a removal from it.

#include "backup/backup_file.h"
#include "backup/backup_records.h"
#include "desktop/desktop_entry_text.h"
#include "desktop/host_backup.h"
#include "desktop/host_change.h"
#include "desktop/mimeapps_lines.h"
#include "desktop/wine_association.h"
#include "registry/reg_file.h"
#include "registry/wine_registry.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSet>
#include <map>
#include <memory>

namespace orvanex::desktop {

namespace {

const QString kManifest = QStringLiteral("manifest.json");

QString sha(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

bool readWhole(const QString& path, QByteArray* bytes) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    *bytes = f.readAll();
    return f.error() == QFileDevice::NoError;
}

// A list that is a symbolic link keeps it: the file it names is replaced.
bool replaceAtomically(const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path);
    QSaveFile f(info.isSymLink() ? info.canonicalFilePath() : path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.commit();
}

struct PrefixWork {
    std::unique_ptr<reg::Registry> registry;
    QStringList exts;     // whose export log goes
    QStringList programs; // of live entries, for "Exclude"
};

QJsonArray changesJson(const QList<LineChange>& changes) {
    QJsonArray a;
    for (const LineChange& c : changes)
        a.append(QJsonObject{{QStringLiteral("section"), c.section},
                             {QStringLiteral("before"), QString::fromUtf8(c.before)},
                             {QStringLiteral("after"), QString::fromUtf8(c.after)}});
    return a;
}

QList<LineChange> changesOf(const QJsonArray& a) {
    QList<LineChange> changes;
    for (const QJsonValue& v : a) {
        const QJsonObject o = v.toObject();
        changes.append({o.value(QStringLiteral("section")).toString(),
                        o.value(QStringLiteral("before")).toString().toUtf8(),
                        o.value(QStringLiteral("after")).toString().toUtf8()});
    }
    return changes;
}

} // namespace

QList<HostItem> entriesOf(const QList<HostItem>& items,
                          const std::function<bool(const HostItem&)>& pick) {
    QSet<QString> chosen;
    for (const HostItem& i : items)
        if (pick(i))
            chosen.insert(i.prefix + u'\n' + i.ext);
    QList<HostItem> out;
    for (const HostItem& i : items)
        if (chosen.contains(i.prefix + u'\n' + i.ext))
            out.append(i);
    return out;
}

HostOutcome removeHostItems(const HostFolders& folders, const QList<HostItem>& items,
                            const QString& appFolder) {
    HostOutcome out;
    if (items.isEmpty()) {
        out.ok = true; // nothing asked, nothing backed up
        return out;
    }
    QSet<QString> exts;
    for (const HostItem& i : items)
        exts.insert(i.ext);
    // What goes: files (icons only when no entry kept names them) and named list entries.
    QStringList files;
    QSet<QString> entryNames;
    QStringList allExts;
    for (const HostItem& i : items) {
        if (!allExts.contains(i.ext))
            allExts.append(i.ext);
        if (i.kind == HostKind::MimeAppsLine) {
            entryNames.insert(entryFileName(i.ext));
            continue;
        }
        if (i.kind == HostKind::Icon &&
            std::any_of(i.namedBy.begin(), i.namedBy.end(),
                        [&](const QString& e) { return !exts.contains(e); }))
            continue;
        if (!files.contains(i.path))
            files.append(i.path);
    }
    // Each prefix that still exists: its registry must take the change before anything starts.
    std::map<QString, PrefixWork> prefixes;
    for (const HostItem& i : items) {
        QString why;
        if (i.state == HostState::Orphan || !reg::isWinePrefix(i.prefix, &why))
            continue;
        PrefixWork& w = prefixes[i.prefix];
        if (!w.registry) {
            w.registry = reg::openWineRegistry(i.prefix);
            if (w.registry->isReadOnly()) {
                out.fail(w.registry->problem().isEmpty()
                             ? i.prefix + QStringLiteral(" cannot be written")
                             : w.registry->problem());
                out.fail(QStringLiteral("Nothing was removed"));
                return out;
            }
        }
        const bool logged =
            keyExists(*w.registry, reg::HKEY_CURRENT_USER, kAssociationsKey + u'\\' + i.ext);
        if (logged && !w.exts.contains(i.ext))
            w.exts.append(i.ext);
        if (i.state == HostState::Live) {
            const QString program = findAssociation(*w.registry, i.ext).program;
            if (!program.isEmpty() && !w.programs.contains(program))
                w.programs.append(program);
        }
    }
    QByteArray listBefore;
    const QString listPath = folders.mimeappsList();
    MimeAppsEdit edit;
    if (!entryNames.isEmpty()) {
        if (!readWhole(listPath, &listBefore)) {
            out.fail(QStringLiteral("Cannot Read ") + listPath);
            return out;
        }
        edit = withoutEntries(listBefore, entryNames);
    }

    // The backups, all of them before the first change.
    HostBackupFolder backups(appFolder);
    if (!backups.isLocked()) {
        out.fail(QStringLiteral("The Backup Folder Cannot Be Written: ") + backups.folder());
        return out;
    }
    QJsonArray registryJson;
    for (auto& [prefix, w] : prefixes) {
        if (w.exts.isEmpty() && w.programs.isEmpty())
            continue;
        QString name, error;
        if (!backups.backUpRecords(*w.registry, w.exts, &name, &error)) {
            out.fail(QStringLiteral("Backup Failed: ") + error);
            out.fail(QStringLiteral("Nothing was removed"));
            return out;
        }
        registryJson.append(
            QJsonObject{{QStringLiteral("prefix"), prefix}, {QStringLiteral("backup"), name}});
    }
    const int number = backups.claimNumber();
    const QString folder = hostBackupPath(backups.folder(), number);
    const auto failBackup = [&](const QString& why) {
        QDir(folder).removeRecursively();
        out.fail(QStringLiteral("Backup Failed: ") + why);
        out.fail(QStringLiteral("Nothing was removed"));
        return out;
    };
    if (!QDir().mkdir(folder) || !QDir().mkdir(folder + QStringLiteral("/files")))
        return failBackup(QStringLiteral("Cannot Write ") + folder);
    QJsonArray filesJson;
    for (qsizetype k = 0; k < files.size(); ++k) {
        QByteArray bytes;
        if (!readWhole(files[k], &bytes))
            return failBackup(QStringLiteral("Cannot Read ") + files[k]);
        const QString copy = QStringLiteral("files/%1").arg(k);
        if (!backup::writeNewFile(folder + u'/' + copy, bytes))
            return failBackup(QStringLiteral("Cannot Write ") + folder + u'/' + copy);
        filesJson.append(QJsonObject{{QStringLiteral("path"), files[k]},
                                     {QStringLiteral("copy"), copy},
                                     {QStringLiteral("mode"), int(QFile::permissions(files[k]))}});
    }
    QJsonObject manifest{{QStringLiteral("files"), filesJson},
                         {QStringLiteral("registry"), registryJson},
                         {QStringLiteral("extensions"), QJsonArray::fromStringList(allExts)}};
    if (!edit.changes.isEmpty()) {
        QByteArray lines;
        for (const LineChange& c : edit.changes)
            lines += c.before + '\n';
        if (!backup::writeNewFile(folder + QStringLiteral("/files/mimeapps.list"), listBefore) ||
            !backup::writeNewFile(folder + QStringLiteral("/removed-lines.txt"), lines))
            return failBackup(QStringLiteral("Cannot Write ") + folder);
        manifest.insert(QStringLiteral("mimeapps"),
                        QJsonObject{{QStringLiteral("path"), listPath},
                                    {QStringLiteral("copy"), QStringLiteral("files/mimeapps.list")},
                                    {QStringLiteral("after"), sha(edit.bytes)},
                                    {QStringLiteral("changes"), changesJson(edit.changes)}});
    }
    if (!backup::writeNewFile(folder + u'/' + kManifest, QJsonDocument(manifest).toJson()))
        return failBackup(QStringLiteral("Cannot Write ") + folder + u'/' + kManifest);
    backup::BackupRecord record;
    record.Name = backup::backupName(number);
    record.File = QDir::toNativeSeparators(folder);
    record.Type = kHostBackupType;
    record.FileType = kHostFileType;
    record.FileExt = recordExtensions(allExts);
    record.DateTime = backup::backupDateTime();
    if (!backup::writeBackupRecord(record))
        return failBackup(QStringLiteral("The Backup Record Could Not Be Saved In The Settings"));
    out.backupName = record.Name;
    out.messages.append(QStringLiteral("Backup: ") + folder);

    // The changes.
    for (const QString& f : files) {
        if (QFile::remove(f))
            out.messages.append(QStringLiteral("Removed ") + f);
        else
            out.fail(QStringLiteral("Cannot Remove ") + f);
    }
    if (!edit.changes.isEmpty()) {
        if (replaceAtomically(listPath, edit.bytes))
            out.messages.append(QStringLiteral("Removed %1 line(s) from %2")
                                    .arg(edit.changes.size())
                                    .arg(listPath));
        else
            out.fail(QStringLiteral("Cannot Write ") + listPath);
    }
    for (auto& [prefix, w] : prefixes) {
        reg::WriteBatch batch(*w.registry);
        reg::Status s = batch.isOpen() ? reg::status::Success : reg::status::CantWrite;
        for (const QString& ext : w.exts)
            if (s == reg::status::Success)
                s = deleteExportRecord(*w.registry, ext);
        bool defaults = false;
        for (const QString& program : w.programs)
            if (s == reg::status::Success)
                s = excludeProgram(*w.registry, program, &defaults);
        const reg::Status committed = batch.finish();
        if (s == reg::status::Success)
            s = committed;
        if (s != reg::status::Success) {
            out.fail(QStringLiteral("The registry of %1 could not be written (error %2)")
                         .arg(prefix)
                         .arg(s));
            continue;
        }
        for (const QString& ext : w.exts)
            out.messages.append(
                QStringLiteral("Removed %1\\%2 in %3").arg(kAssociationsKeyName, ext, prefix));
        if (!w.programs.isEmpty())
            out.messages.append(
                QStringLiteral("Wine will not write these entries again: %1 added to the "
                               "Exclude list of %2%3")
                    .arg(w.programs.join(QStringLiteral(", ")), prefix,
                         defaults ? QStringLiteral(" (with Wine's defaults)") : QString()));
    }
    out.problems += refreshDesktopCaches(folders);
    out.ok = !out.failed;
    return out;
}

HostOutcome restoreHostBackup(const HostFolders& folders, const QString& name,
                              const QString& appFolder) {
    HostOutcome out;
    backup::BackupRecord record;
    if (!backup::readBackupRecord(name, &record) || record.Type != kHostBackupType) {
        out.fail(QStringLiteral("%1 is no backup of desktop entries").arg(name));
        return out;
    }
    const QString folder = QDir::fromNativeSeparators(record.File);
    QByteArray manifestBytes;
    if (!readWhole(folder + u'/' + kManifest, &manifestBytes)) {
        out.fail(QStringLiteral("Cannot Read ") + folder + u'/' + kManifest);
        return out;
    }
    const QJsonObject manifest = QJsonDocument::fromJson(manifestBytes).object();
    for (const QJsonValue& v : manifest.value(QStringLiteral("files")).toArray()) {
        const QJsonObject f = v.toObject();
        const QString path = f.value(QStringLiteral("path")).toString();
        QByteArray bytes, there;
        if (!readWhole(folder + u'/' + f.value(QStringLiteral("copy")).toString(), &bytes)) {
            out.fail(QStringLiteral("Cannot Read the copy of ") + path);
            continue;
        }
        if (QFileInfo::exists(path) || QFileInfo(path).isSymLink()) {
            if (!readWhole(path, &there) || there != bytes)
                out.fail(path + QStringLiteral(" exists and was kept as it is"));
            continue;
        }
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (!backup::writeNewFile(path, bytes)) {
            out.fail(QStringLiteral("Cannot Write ") + path);
            continue;
        }
        QFile::setPermissions(path,
                              QFileDevice::Permissions(f.value(QStringLiteral("mode")).toInt()));
        out.messages.append(QStringLiteral("Restored ") + path);
    }
    const QJsonObject list = manifest.value(QStringLiteral("mimeapps")).toObject();
    if (!list.isEmpty()) {
        const QString path = list.value(QStringLiteral("path")).toString();
        QByteArray now, before;
        readWhole(path, &now);
        if (!readWhole(folder + u'/' + list.value(QStringLiteral("copy")).toString(), &before)) {
            out.fail(QStringLiteral("Cannot Read the copy of ") + path);
        } else {
            // Untouched since the removal: the whole file as it was; else only the lines.
            const QByteArray back =
                sha(now) == list.value(QStringLiteral("after")).toString()
                    ? before
                    : withLinesBack(now,
                                    changesOf(list.value(QStringLiteral("changes")).toArray()));
            if (back == now)
                out.messages.append(path + QStringLiteral(" already has its lines"));
            else if (replaceAtomically(path, back))
                out.messages.append(QStringLiteral("Restored the lines of ") + path);
            else
                out.fail(QStringLiteral("Cannot Write ") + path);
        }
    }
    QStringList exts = manifest.value(QStringLiteral("extensions")).toVariant().toStringList();
    for (const QJsonValue& v : manifest.value(QStringLiteral("registry")).toArray()) {
        const QString prefix = v.toObject().value(QStringLiteral("prefix")).toString();
        const QString regName = v.toObject().value(QStringLiteral("backup")).toString();
        backup::BackupRecord regRecord;
        QByteArray bytes;
        QString why;
        if (!backup::readBackupRecord(regName, &regRecord) ||
            !reg::readRegFile(QDir::fromNativeSeparators(regRecord.File), &bytes).isEmpty()) {
            out.fail(QStringLiteral("Cannot Read the registry backup ") + regName);
            continue;
        }
        if (!reg::isWinePrefix(prefix, &why)) {
            out.problems.append(prefix + QStringLiteral(" is gone; its registry was not restored"));
            continue;
        }
        const auto registry = reg::openWineRegistry(prefix);
        QString backupName, error;
        HostBackupFolder backups(appFolder);
        if (registry->isReadOnly() || !backups.isLocked() ||
            !backups.backUpRecords(*registry, exts, &backupName, &error)) {
            out.fail(QStringLiteral("Cannot Write the registry of %1 %2")
                         .arg(prefix, registry->problem() + error));
            continue;
        }
        const reg::RegImport merged = reg::importRegFile(*registry, bytes);
        if (!merged.error.isEmpty())
            out.fail(
                QStringLiteral("Cannot Write the registry of %1: %2").arg(prefix, merged.error));
        else
            out.messages.append(
                QStringLiteral("Merged %1 into %2 (Backup=%3)").arg(regName, prefix, backupName));
    }
    out.problems += refreshDesktopCaches(folders);
    out.ok = !out.failed;
    return out;
}

} // namespace orvanex::desktop
