#include "model/readers.h"

#include "model/registry_access.h"

namespace orvanex::model {

namespace {

const QString kShell = QStringLiteral("\\Shell");

QString blanks(qsizetype n) {
    return QString(std::max<qsizetype>(n, 0), u' ');
}

QString readOr(reg::RegState& state, const QString& keyPath, const QString& fallback) {
    QString text;
    return reg::ReadText(state, keyPath, QString(), &text) ? text : fallback;
}

} // namespace

QString ReadTypeName(detail::OpenedKey& extensionKey, const QString& keyName) {
    if (!extensionKey.isOpen())
        return QStringLiteral("99");
    QString text;
    extensionKey.readText(QString(), QString(), &text);
    text = text.trimmed();
    return text.size() < 3 ? keyName : text;
}

QString ReadTypeName(reg::RegState& state, const QString& extensionKey) {
    detail::OpenedKey key(state, extensionKey);
    return ReadTypeName(key, extensionKey);
}

QString ReadContentType(detail::OpenedKey& extensionKey) {
    QString text;
    if (extensionKey.readText(QString(), QStringLiteral("Content Type"), &text))
        return text;
    return QStringLiteral(" ");
}

QString ReadContentType(reg::RegState& state, const QString& extensionKey) {
    detail::OpenedKey key(state, extensionKey);
    return ReadContentType(key);
}

TypeKeyText ReadTypeKeyText(reg::RegState& state, const QString& typeName) {
    TypeKeyText t;
    t.hasValue = detail::readText(state, typeName, QString(), &t.text, &t.opened);
    return t;
}

QString DescribeFromTypeKey(reg::RegState& state, const ExtensionEntry& entry) {
    return DescribeFromTypeKey(entry, ReadTypeKeyText(state, entry.TypeName));
}

QString DescribeFromTypeKey(const ExtensionEntry& entry, const TypeKeyText& typeKey) {
    const bool isClsid = entry.TypeName.startsWith(QLatin1String("CLSID"));
    if (!typeKey.opened)
        return isClsid ? entry.Ext + QStringLiteral("__File") : entry.TypeName;
    QString description = typeKey.hasValue ? typeKey.text.trimmed() : entry.KeyName;
    if (description.size() < 2)
        description = isClsid ? entry.Ext : entry.TypeName;
    return description;
}

QString FinishDescription(const ExtensionEntry& entry, const QString& description) {
    if (entry.Ext == kAllKey)
        return kAllDescription;
    if (entry.Ext == kUnknownExt)
        return kUnknownDescription;
    if (description.startsWith(u'.'))
        return entry.Ext + QStringLiteral("__File");
    return description;
}

QString ReadCommand(detail::OpenedKey& commandKey) {
    QString text;
    return commandKey.readText(QString(), QString(), &text) ? text : QString();
}

QString ReadCommand(reg::RegState& state, const QString& commandKeyPath) {
    detail::OpenedKey key(state, commandKeyPath);
    return ReadCommand(key);
}

Flags LoadFlags(reg::RegState& state, const QString& typeName) {
    Flags flags;
    reg::RegValue value;
    if (reg::ReadValue(state, typeName, QStringLiteral("AlwaysShowExt"), value) ==
        reg::status::Success)
        flags.AlwaysShowExt = kYes;
    if (detail::keyOpens(state, typeName + QStringLiteral("\\QuickView")))
        flags.QuickView = kYes;
    return flags;
}

// Reads the four DDE values of a verb; each non-empty one switches UsesDde to "yes".
static void readDde(reg::RegState& state, const QString& verbPath, ActionEntry& action) {
    const QString dde = verbPath + QStringLiteral("\\ddeexec");
    const struct {
        QString path;
        QString* field;
    } parts[] = {{dde, &action.DdeMessage},
                 {dde + QStringLiteral("\\application"), &action.DdeApplication},
                 {dde + QStringLiteral("\\ifexec"), &action.DdeNotRunning},
                 {dde + QStringLiteral("\\topic"), &action.DdeTopic}};
    for (const auto& part : parts) {
        *part.field = readOr(state, part.path, QString());
        if (!part.field->isEmpty())
            action.UsesDde = kYes;
    }
}

ActionList LoadActions(reg::RegState& state, const QString& typeName) {
    ActionList list;
    list.Header0 = QStringLiteral("<Action") + blanks(18);
    list.Header1 = QStringLiteral("<Peformed With") + blanks(120);
    const QString shell = typeName + kShell;
    list.DefaultVerb = readOr(state, shell, QString()).trimmed();
    list.DefaultLabel = list.DefaultVerb;

    qsizetype defaultBlanks = 0;
    for (const QString& verb : reg::EnumerateSubkeys(state, shell)) {
        if (verb == list.DefaultVerb) {
            list.DefaultFound = true;
            defaultBlanks = 96 - list.DefaultVerb.size();
            if (list.DefaultVerb.size() > 50)
                list.DefaultFound = false;
        }
        const QString verbPath = shell + u'\\' + verb;
        ActionEntry action;
        action.Verb = verb;
        QString display = readOr(state, verbPath, QString());
        display = reg::StripQuotes(display);
        action.DisplayName = display.isEmpty() ? verb : display;
        action.Command = ReadCommand(state, verbPath + QStringLiteral("\\command"));
        readDde(state, verbPath, action);
        list.actions.append(action);
        list.CountText = QString::number(list.actions.size());
        list.Header0 = QStringLiteral("<Actions (") + list.CountText + u')' + blanks(10);
        if (list.DefaultFound && verb == list.DefaultVerb) {
            list.actions.last().IsDefault = kYes;
            list.DefaultLabel = action.DisplayName;
        }
    }
    if (list.DefaultFound)
        list.Header1 = QStringLiteral("<Peformed With / Default Action (") + list.DefaultVerb +
                       u')' + blanks(defaultBlanks);
    return list;
}

ActionDetail LoadActionDetail(reg::RegState& state, const QString& typeName, const ActionList& list,
                              const QString& displayName) {
    ActionDetail detail;
    const ActionEntry* slot = nullptr;
    for (const ActionEntry& a : list.actions)
        if (a.DisplayName == displayName) {
            slot = &a;
            break;
        }
    if (!slot)
        return detail;
    detail.found = true;
    ActionEntry& action = detail.action;
    action.Verb = slot->Verb;
    action.DisplayName = slot->DisplayName;
    const QString verbPath = typeName + kShell + u'\\' + slot->Verb;
    QString name = readOr(state, verbPath, QString());
    name = reg::StripQuotes(name);
    detail.ActionName = name.isEmpty() ? slot->DisplayName : name;
    action.IsDefault = list.DefaultLabel == slot->DisplayName ? kYes : kNo;
    const QString command = readOr(state, verbPath + QStringLiteral("\\command"), QString());
    if (command.size() > 3)
        action.Command = command;
    readDde(state, verbPath, action);
    return detail;
}

QString VerbFromActionName(const QString& actionName) {
    QStringList words = actionName.split(u' ', Qt::SkipEmptyParts);
    // At most 50 words, taken from the end of the name.
    if (words.size() > 50)
        words = words.mid(words.size() - 50);
    return words.join(u'_');
}

} // namespace orvanex::model
