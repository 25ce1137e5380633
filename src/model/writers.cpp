#include "model/writers.h"

#include "model/file_type_model.h"
#include "model/icon_location.h"
#include "model/registry_access.h"

namespace orvanex::model {

namespace {

QString shellPath(const QString& typeName) {
    return typeName + QStringLiteral("\\Shell");
}

QString verbPath(const QString& typeName, const QString& verb) {
    return shellPath(typeName) + u'\\' + verb;
}

// Open or create each level from the type's Shell key down, then write the last one's default.
Status writeBelowShell(reg::RegState& state, const QStringList& chain, const QString& text) {
    if (reg::CreateKeyChain(state, chain) != reg::status::Success)
        return state.LastStatus;
    return reg::WriteText(state, chain.last(), QString(), text);
}

Status finish(reg::RegState& state, Status status) {
    state.LastStatus = status;
    return status;
}

} // namespace

Status setExtension(reg::RegState& state, const QString& ext, const QString& typeName) {
    QString key = ext.toLower();
    if (!key.startsWith(u'.'))
        key.prepend(u'.');
    return reg::WriteText(state, key, QString(), typeName);
}

Status setActionName(reg::RegState& state, const QString& typeName, const QString& verb,
                     const QString& actionName) {
    return writeBelowShell(state, {shellPath(typeName), verbPath(typeName, verb)}, actionName);
}

Status setCommand(reg::RegState& state, const QString& typeName, const QString& verb,
                  const QString& command) {
    const QString v = verbPath(typeName, verb);
    return writeBelowShell(state, {shellPath(typeName), v, v + QStringLiteral("\\command")},
                           command);
}

Status setDde(reg::RegState& state, const QString& typeName, const QString& verb,
              const DdeFields& dde) {
    const QString v = verbPath(typeName, verb);
    const QString ddeexec = v + QStringLiteral("\\ddeexec");
    const QString message = dde.message.isEmpty() ? QStringLiteral("Default") : dde.message;
    if (writeBelowShell(state, {shellPath(typeName), v, ddeexec}, message) != reg::status::Success)
        return state.LastStatus;
    const struct {
        const char* child;
        const QString& text;
    } children[] = {
        {"\\application", dde.application}, {"\\ifexec", dde.notRunning}, {"\\topic", dde.topic}};
    for (const auto& c : children) {
        const QString path = ddeexec + QLatin1String(c.child);
        Status s = reg::status::Success;
        if (!c.text.isEmpty())
            s = reg::WriteText(state, path, QString(), c.text);
        else if (detail::keyOpens(state, path))
            s = reg::DeleteKeyTree(state, path);
        if (s != reg::status::Success)
            return finish(state, s);
    }
    return finish(state, reg::status::Success);
}

Status deleteDde(reg::RegState& state, const QString& typeName, const QString& verb) {
    const QString ddeexec = verbPath(typeName, verb) + QStringLiteral("\\ddeexec");
    return reg::DeleteKeysInOrder(state, {ddeexec + QStringLiteral("\\topic"),
                                          ddeexec + QStringLiteral("\\ifexec"),
                                          ddeexec + QStringLiteral("\\application"), ddeexec});
}

Status setDefaultAction(reg::RegState& state, const QString& typeName, const QString& verb) {
    return reg::WriteText(state, shellPath(typeName), QString(), verb);
}

Status clearDefaultAction(reg::RegState& state, const QString& typeName) {
    return reg::WriteText(state, shellPath(typeName), QString(), QStringLiteral(" "));
}

Status deleteAction(reg::RegState& state, const QString& typeName, const QString& verb) {
    const QString v = verbPath(typeName, verb);
    // A verb without a command key is still deleted: the missing child is skipped.
    if (reg::DeleteKeysInOrder(state, {v + QStringLiteral("\\command"), v}) != reg::status::Success)
        return state.LastStatus;
    const QString shell = shellPath(typeName);
    QString defaultVerb;
    reg::ReadText(state, shell, QString(), &defaultVerb);
    if (defaultVerb.trimmed() == verb &&
        clearDefaultAction(state, typeName) != reg::status::Success)
        return state.LastStatus;
    if (reg::EnumerateSubkeys(state, shell).isEmpty())
        return reg::DeleteKeyTree(state, shell);
    return finish(state, reg::status::Success);
}

Status setQuickView(reg::RegState& state, const QString& typeName) {
    return reg::WriteText(state, typeName + QStringLiteral("\\QuickView"), QString(),
                          QStringLiteral("*"));
}

Status clearQuickView(reg::RegState& state, const QString& typeName) {
    return reg::DeleteKeyTree(state, typeName + QStringLiteral("\\QuickView"));
}

Status setAlwaysShowExt(reg::RegState& state, const QString& typeName) {
    // The type key is opened, not created: a type that is gone stays gone.
    if (!detail::keyOpens(state, typeName))
        return state.LastStatus;
    return reg::WriteText(state, typeName, QStringLiteral("AlwaysShowExt"), QStringLiteral("*"));
}

Status clearAlwaysShowExt(reg::RegState& state, const QString& typeName) {
    return reg::DeleteValueAt(state, typeName, QStringLiteral("AlwaysShowExt"));
}

QString defaultIconValue(const platform::DriveMap& drives, const QString& iconPath,
                         const QString& iconNumber, bool* missing) {
    *missing = false;
    if (iconPath.size() > 1 && iconPath[1] == u':') {
        if (!FileExists(drives, iconPath)) {
            *missing = true;
            return QString();
        }
        const QString kind = iconPath.mid(iconPath.lastIndexOf(u'.') + 1).toUpper();
        if (isIconContainerKind(kind))
            return iconPath + u',' + iconNumber.trimmed();
        return iconPath;
    }
    return iconPath;
}

Status setDefaultIcon(reg::RegState& state, const platform::DriveMap& drives,
                      const QString& typeName, const QString& iconPath, const QString& iconNumber) {
    bool missing = false;
    const QString value = defaultIconValue(drives, iconPath, iconNumber, &missing);
    if (missing)
        return finish(state, kIconFileMissing);
    const QString key = typeName + QStringLiteral("\\DefaultIcon");
    if (value.isEmpty()) {
        if (!detail::keyOpens(state, key))
            return finish(state, reg::status::Success); // nothing to remove
        return reg::DeleteKeyTree(state, key);
    }
    return reg::WriteText(state, key, QString(), value);
}

Status deleteKey(reg::RegState& state, const QString& keyPath) {
    return reg::DeleteKeyTree(state, keyPath);
}

} // namespace orvanex::model
