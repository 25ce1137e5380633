// A desktop entry made on purpose, switching a prefix's export off, and the desktop's caches.

#include "desktop/desktop_entry_text.h"
#include "desktop/host_backup.h"
#include "desktop/host_change.h"
#include "desktop/wine_association.h"
#include "registry/wine_registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QSaveFile>

namespace orvanex::desktop {

namespace {

// Writes a new file whole; an existing one with other bytes is never replaced.
bool writeFresh(const QString& path, const QByteArray& bytes, HostOutcome* out) {
    QFile existing(path);
    if (existing.exists()) {
        if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes) {
            out->messages.append(path + QStringLiteral(" is already there"));
            return true;
        }
        out->fail(path + QStringLiteral(" exists; remove it first"));
        return false;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        out->fail(QStringLiteral("Cannot Write ") + path);
        return false;
    }
    out->messages.append(QStringLiteral("Wrote ") + path);
    return true;
}

QString runTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForStarted())
        return program + QStringLiteral(" is not installed; the desktop's cache was not "
                                        "refreshed");
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return program + QStringLiteral(" did not finish");
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return program + QStringLiteral(" failed: ") +
               QString::fromLocal8Bit(p.readAll()).trimmed();
    return QString();
}

} // namespace

QString normalExtension(const QString& text) {
    QString ext = text.trimmed().toLower();
    if (!ext.startsWith(u'.'))
        ext.prepend(u'.');
    if (ext.size() < 2 || ext.contains(u'/') || ext.contains(u'\\') || ext.contains(u'\0') ||
        ext.indexOf(u'.', 1) >= 0 || std::any_of(ext.begin(), ext.end(), [](QChar c) {
            return c.isSpace() || c == u'*' || c == u'"' || c == u'<' || c == u'>';
        }))
        return QString();
    return ext;
}

QString chooseMimeType(const QString& ext, const QString& contentType, bool* desktopKnows) {
    const QMimeType t =
        QMimeDatabase().mimeTypeForFile(QStringLiteral("x") + ext, QMimeDatabase::MatchExtension);
    *desktopKnows = t.isValid() && !t.isDefault() &&
                    t.name() != QLatin1String("application/octet-stream") &&
                    !t.name().startsWith(QLatin1String("application/x-wine-extension-"));
    if (*desktopKnows)
        return t.name();
    if (!contentType.trimmed().isEmpty() && contentType.contains(u'/'))
        return contentType.trimmed().toLower();
    return QStringLiteral("application/x-wine-extension-") + ext.mid(1);
}

HostOutcome addHostEntry(const HostFolders& folders, const QString& prefixText,
                         const QString& extText) {
    HostOutcome out;
    const QString ext = normalExtension(extText);
    const QString prefix = normalPrefix(prefixText);
    QString why;
    if (ext.isEmpty()) {
        out.fail(QStringLiteral("%1 is no file extension").arg(extText));
        return out;
    }
    if (!reg::isWinePrefix(prefix, &why)) {
        out.fail(why);
        return out;
    }
    const auto registry = reg::openWineRegistry(prefix);
    const Association a = findAssociation(*registry, ext);
    if (!a.live()) {
        out.fail(QStringLiteral("%1 has no program to open %2 with").arg(prefix, ext));
        return out;
    }
    bool known = false;
    AssociationEntry entry;
    entry.appName = a.appName;
    entry.mimeType = chooseMimeType(ext, a.contentType, &known);
    entry.prefix = prefix;
    entry.progId = a.progId;
    const QString desktopPath = folders.applications() + u'/' + entryFileName(ext);
    if (!known) {
        QString comment;
        readText(*registry, reg::HKEY_CLASSES_ROOT, a.progId, QString(), &comment);
        if (!writeFresh(folders.mimePackages() + u'/' + packageFileName(ext),
                        mimePackageText(entry.mimeType, ext, comment), &out))
            return out;
    }
    if (!writeFresh(desktopPath, associationEntryText(entry), &out))
        return out;
    out.messages.append(
        QStringLiteral("%1 opens with %2 (%3)").arg(ext, a.appName, entry.mimeType));
    out.problems += refreshDesktopCaches(folders);
    out.ok = !out.failed;
    return out;
}

HostOutcome disableWineExport(const QString& prefixText, const QString& appFolder) {
    HostOutcome out;
    const QString prefix = normalPrefix(prefixText);
    QString why;
    if (!reg::isWinePrefix(prefix, &why)) {
        out.fail(why);
        return out;
    }
    const auto registry = reg::openWineRegistry(prefix);
    if (registry->isReadOnly()) {
        out.fail(registry->problem());
        return out;
    }
    HostBackupFolder backups(appFolder);
    QString name, error;
    if (!backups.isLocked() || !backups.backUpRecords(*registry, {}, &name, &error)) {
        out.fail(QStringLiteral("Backup Failed: ") + error + QStringLiteral("; nothing changed"));
        return out;
    }
    const reg::Status s = disableExport(*registry);
    if (s != reg::status::Success) {
        out.fail(QStringLiteral("The registry of %1 could not be written (error %2)")
                     .arg(prefix)
                     .arg(s));
        return out;
    }
    out.backupName = name;
    out.messages.append(QStringLiteral("Wine exports no file types of %1 any more (Enable=N; "
                                       "Backup=%2)")
                            .arg(prefix, name));
    out.ok = true;
    return out;
}

QStringList refreshDesktopCaches(const HostFolders& folders) {
    QStringList warnings;
    const QString desktop = runTool(QStringLiteral("update-desktop-database"),
                                    {QStringLiteral("-q"), folders.applications()});
    if (!desktop.isEmpty())
        warnings.append(desktop);
    if (QFileInfo(folders.mimePackages()).isDir()) {
        const QString mime =
            runTool(QStringLiteral("update-mime-database"), {folders.mimeFolder()});
        if (!mime.isEmpty())
            warnings.append(mime);
    }
    return warnings;
}

} // namespace orvanex::desktop
