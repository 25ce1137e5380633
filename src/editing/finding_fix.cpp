#include "editing/finding_fix.h"

#include "model/detail_view.h"
#include "model/loading.h"
#include "model/writers.h"

namespace orvanex::editing {

namespace {

qsizetype extensionIndex(const QList<model::ExtensionEntry>& extensions, const QString& keyName) {
    for (qsizetype i = 0; i < extensions.size(); ++i)
        if (extensions[i].KeyName == keyName)
            return i;
    return -1;
}

const model::FileTypeEntry* typeOf(const QList<model::FileTypeEntry>& types, const QString& key) {
    for (const model::FileTypeEntry& t : types)
        if (t.TypeName == key)
            return &t;
    return nullptr;
}

// The finding as the registry shows it now, so that a fix never acts on a stale list.
bool stillFound(EditContext& ctx, const model::Finding& f) {
    QList<model::ExtensionEntry> extensions;
    QList<model::FileTypeEntry> types;
    if (f.kind == model::FindingKind::MissingType) {
        const qsizetype i = extensionIndex(ctx.extensions, f.entry);
        if (i < 0)
            return false;
        extensions.append(ctx.extensions[i]);
    } else {
        types.append({f.typeName, QString(), QString()});
    }
    const model::HealthReport now =
        model::CheckAssociations(ctx.state, ctx.drives, extensions, types);
    for (const model::Finding& g : now.findings)
        if (g.kind == f.kind && g.entry == f.entry && g.detail == f.detail)
            return true;
    return false;
}

} // namespace

bool isFixable(const model::Finding& f, const QList<model::ExtensionEntry>& extensions) {
    if (f.kind == model::FindingKind::MissingIcon)
        return true;
    if (f.kind != model::FindingKind::MissingType)
        return false;
    const qsizetype i = extensionIndex(extensions, f.entry);
    return i >= 0 && !model::isProtectedSelection(extensions[i].Ext);
}

QString fixQuestion(const model::Finding& f) {
    if (f.kind == model::FindingKind::MissingType)
        return QStringLiteral("Remove the extension %1, which names the missing type %2? A backup "
                              "is taken first.")
            .arg(f.entry, f.typeName);
    return QStringLiteral("Clear the default icon of %1 (%2)? A backup is taken first.")
        .arg(f.entry, f.detail);
}

FixOutcome FixFinding(EditContext& ctx, const model::Finding& f) {
    FixOutcome out;
    if (!isFixable(f, ctx.extensions)) {
        out.status = QStringLiteral("Error!   ") + f.entry + QStringLiteral(" has no plain fix");
        out.beep = true;
        return out;
    }
    if (!stillFound(ctx, f)) {
        out.status = f.entry + QStringLiteral(" is no longer found so: nothing changed");
        return out;
    }
    if (f.kind == model::FindingKind::MissingType) {
        const qsizetype i = extensionIndex(ctx.extensions, f.entry);
        const model::ExtensionEntry e = ctx.extensions[i];
        DeleteFields fields;
        fields.CurrentTypeKey = e.TypeName;
        fields.txtDesc = e.Description;
        fields.txtExt = e.Ext;
        fields.txtRel = model::extensionsOfType(ctx.extensions, e.TypeName, i).join(u' ');
        fields.backup = {backup::BackupRequest::Mode::Extension, e.Ext, e.Description};
        out.deletion = DeleteEntry(ctx, fields);
        out.status = out.deletion.status;
        out.beep = out.deletion.beep;
        out.fixed = out.deletion.deleted;
        out.removedExtensions = out.deletion.removedExtensions;
        return out;
    }
    const model::FileTypeEntry* type = typeOf(ctx.fileTypes, f.typeName);
    const QString description = type ? type->Description : f.typeName;
    const backup::BackupRequest request{backup::BackupRequest::Mode::FileType,
                                        type ? type->Extensions : QString(), description};
    const QString backupStatus = quietBackup(ctx, request, QStringLiteral("Change"));
    if (ctx.backup.BackupResult != QLatin1String("OK")) {
        out.status =
            QStringLiteral("Error!   ") + description +
            QStringLiteral(" Not Updated!   Backup Failed!    ") +
            (backupStatus.trimmed().isEmpty() ? ctx.backup.BackupName : backupStatus.trimmed());
        out.beep = true;
        return out;
    }
    const reg::Status s = model::deleteKey(ctx.state, f.typeName + QStringLiteral("\\DefaultIcon"));
    if (s != reg::status::Success) {
        reg::RegErrorText(ctx.state, s);
        out.status = QStringLiteral("Error!   ") + description +
                     QStringLiteral(" Not Updated!   ") + ctx.state.ErrorText;
        out.beep = true;
        return out;
    }
    out.fixed = true;
    out.status = description + QStringLiteral(" Updated!   Backup=") + ctx.backup.BackupName;
    return out;
}

} // namespace orvanex::editing
