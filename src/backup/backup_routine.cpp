#include "backup/backup_routine.h"

#include "backup/backup_file.h"
#include "backup/backup_records.h"
#include "model/extension_tokens.h"
#include "registry/reg_file.h"
#include "settings/app_folder.h"
#include "settings/settings_store.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include <algorithm>

namespace orvanex::backup {

namespace {

const QByteArray kHeader = QByteArrayLiteral("REGEDIT4");

QList<QByteArray> splitLines(const QByteArray& bytes) {
    QList<QByteArray> lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the final line end starts no line
    for (QByteArray& line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    return lines;
}

QString cannotWrite(const QString& path) {
    return QStringLiteral("Cannot Write ") + QDir::toNativeSeparators(path);
}

} // namespace

QString extensionLookupError(const QString& fileExt) {
    return QStringLiteral("Find Registry Entry Error For File Extension ") + fileExt;
}

QString typeLookupError(const QString& fileExt) {
    return QStringLiteral("Find Registry Entry Error For File Extensions ") + fileExt;
}

// One backup in progress: the work files, the lines gathered for the backup file.
struct BackupRoutine::Run {
    BackupRoutine& routine;
    BackupState& state;
    QString work1, work2;
    QList<QByteArray> out;
    ~Run() {
        // A backup that stopped half-way leaves no work file behind.
        QFile::remove(work1);
        QFile::remove(work2);
    }

    enum class Export { Done, Skipped, Failed };

    // Exports key with its subkeys into the work file (the project's REGEDIT4 exporter).
    Export exportKey(const QString& key, const QString& workFile) {
        reg::HKey handle = 0;
        if (routine.m_registry.openKeyEx(reg::HKEY_CLASSES_ROOT, key, 0, reg::KEY_ALL_USED,
                                         &handle) != reg::status::Success)
            return Export::Skipped;
        routine.m_registry.closeKey(handle);
        const reg::RegExport exported =
            reg::exportRegFile(routine.m_registry, QStringLiteral("HKEY_CLASSES_ROOT\\") + key,
                               reg::RegFormat::Regedit4);
        QFile file(workFile);
        if (exported.status != reg::status::Success) {
            state.Failure = QStringLiteral("The Registry Key Could Not Be Exported: ") + key;
            return Export::Failed;
        }
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(exported.bytes) != exported.bytes.size() || !file.flush()) {
            state.Failure = cannotWrite(workFile);
            return Export::Failed;
        }
        return Export::Done;
    }

    // The lines of a work file, which is deleted once read; skipHeader leaves out lines 1 and 2
    // and every header line, so that the backup keeps a single header.
    bool append(const QString& workFile, bool skipHeader) {
        QFile file(workFile);
        if (!file.open(QIODevice::ReadOnly)) {
            state.Failure = QStringLiteral("Cannot Read ") + QDir::toNativeSeparators(workFile);
            return false;
        }
        const QList<QByteArray> lines = splitLines(file.readAll());
        file.close();
        QFile::remove(workFile);
        for (qsizetype i = 0; i < lines.size(); ++i)
            if (!skipHeader || (i >= 2 && lines[i] != kHeader))
                out.append(lines[i]);
        return true;
    }

    // Chooses the number (the counter advances when a new number at or above it is handed out)
    // and names the backup.
    int chooseNumber() {
        const int next = nextNumber();
        const auto onDisk = [&](int n) {
            return QFile::exists(backupFilePath(routine.m_folder, n));
        };
        int n = FindBackupNumber(next, onDisk);
        if (n >= next) {
            // A number whose file or record exists (another copy of the program, settings
            // brought from elsewhere) is never handed out again.
            for (n = next; backupNumberTaken(routine.m_folder, n);)
                ++n;
            saveNextNumber(n + 1);
        }
        state.BackupName = backupName(n);
        return n;
    }

    bool finish(int number, const BackupRequest& request, const QString& markAs) {
        QByteArray bytes;
        for (const QByteArray& line : out)
            bytes += line + "\r\n";
        const QString path = backupFilePath(routine.m_folder, number);
        if (!writeNewFile(path, bytes)) {
            state.Failure = cannotWrite(path);
            return false;
        }
        BackupRecord record;
        record.Name = state.BackupName;
        record.File = QDir::toNativeSeparators(path);
        record.FileType = request.FileType;
        record.FileExt = request.FileExt;
        record.DateTime = backupDateTime();
        record.Registry = routine.m_registry.hivePath();
        if (!writeBackupRecord(record) ||
            (!markAs.isEmpty() && !setBackupType(record.Name, markAs))) {
            state.Failure = QStringLiteral("The Backup Record Could Not Be Saved In The Settings");
            return false;
        }
        state.BackupFile = record.File;
        state.BackupResult = QStringLiteral("OK");
        return true;
    }
};

BackupRoutine::BackupRoutine(reg::Registry& registry, const QList<model::ExtensionEntry>& entries,
                             QString appFolder)
    : m_registry(registry), m_entries(entries), m_folder(backupFolderPath(appFolder)) {}

QString BackupRoutine::run(const BackupRequest& request, BackupState& state,
                           const QString& markAs) {
    state.BackupResult = QStringLiteral("XX");
    state.BackupName = QStringLiteral("XXXX");
    state.BackupFile.clear();
    state.Failure.clear();
    const bool typeMode = request.mode == BackupRequest::Mode::FileType;

    // The words in list order; each is looked up by its exact text, the first entry wins.
    QStringList words;
    if (typeMode) {
        words = model::ExtensionTokens(request.FileExt);
        std::reverse(words.begin(), words.end());
    } else {
        words = {request.FileExt};
    }
    QHash<QString, qsizetype> firstEntry;
    firstEntry.reserve(words.size());
    for (const QString& w : words)
        firstEntry.insert(w, -1);
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        const auto it = firstEntry.find(m_entries[i].Ext);
        if (it != firstEntry.end() && *it < 0)
            *it = i;
    }
    const QString lookupError =
        typeMode ? typeLookupError(request.FileExt) : extensionLookupError(request.FileExt);
    if (std::none_of(words.begin(), words.end(),
                     [&](const QString& w) { return firstEntry[w] >= 0; })) {
        state.Failure = lookupError;
        return lookupError;
    }

    QDir().mkpath(m_folder);
    FolderLock lock(m_folder);
    if (!lock.isLocked()) {
        state.Failure = QStringLiteral("The Backup Folder Cannot Be Written: ") +
                        QDir::toNativeSeparators(m_folder);
        return QString();
    }
    // The counter and the record reach the settings file in one write, while the lock is held.
    SettingsBatch settings(QString::fromLatin1(kMainAppName));
    Run run{*this,
            state,
            m_folder + QStringLiteral("/work1.reg"),
            m_folder + QStringLiteral("/work2.reg"),
            {}};
    int number = 0;
    bool first = true;
    for (const QString& word : words) {
        const qsizetype index = firstEntry.value(word, -1);
        if (index < 0)
            continue;
        const model::ExtensionEntry& entry = m_entries[index];
        const Run::Export e1 = run.exportKey(entry.KeyName, run.work1);
        if (e1 == Run::Export::Failed)
            return QString();
        if (first) {
            first = false;
            Run::Export e2 = Run::Export::Skipped;
            if (entry.TypeName != entry.KeyName)
                e2 = run.exportKey(entry.TypeName, run.work2);
            if (e2 == Run::Export::Failed)
                return QString();
            if (e1 == Run::Export::Skipped && e2 == Run::Export::Skipped) {
                state.Failure = lookupError;
                return lookupError;
            }
            number = run.chooseNumber();
            if (e1 == Run::Export::Done && !run.append(run.work1, false))
                return QString();
            if (e2 == Run::Export::Done && !run.append(run.work2, e1 == Run::Export::Done))
                return QString();
        } else if (e1 == Run::Export::Done && !run.append(run.work1, true)) {
            return QString();
        }
    }
    if (!run.finish(number, request, markAs))
        return QString();
    if (state.QuietBackup == 1)
        return QString();
    return state.BackupFile + QStringLiteral(" Contains ") + request.FileType +
           (typeMode ? QStringLiteral(" File Type Registry Backup")
                     : QStringLiteral(" File Extension Registry Backup"));
}

} // namespace orvanex::backup
