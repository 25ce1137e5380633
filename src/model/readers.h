#pragma once
// Readers of the file-type layout under HKEY_CLASSES_ROOT. Missing keys and values fall back
// quietly; no reader reports an error.

#include "model/file_type_model.h"
#include "model/registry_access.h"
#include "registry/reg_state.h"

#include <QStringList>

namespace orvanex::model {

// Each reader of a key comes in two forms: one that takes the key opened by the caller (the
// start-up's loops open each key once for all its reads) and one that opens it by its path. The
// second calls the first, so a rule has one home.

// The TypeName of an extension key (trimmed default; KeyName when shorter than 3 characters), or
// "99" when the key cannot be opened.
QString ReadTypeName(detail::OpenedKey& extensionKey, const QString& keyName);
QString ReadTypeName(reg::RegState& state, const QString& extensionKey);

// The "Content Type" value of an extension key, or " " when absent.
QString ReadContentType(detail::OpenedKey& extensionKey);
QString ReadContentType(reg::RegState& state, const QString& extensionKey);

// The description from the type key: its default value trimmed (the entry's KeyName when the
// key has none); a text shorter than 2 characters gives way to Ext for a CLSID type and to the
// TypeName otherwise. A type key that does not open gives Ext + "__File" for a CLSID type and
// the TypeName otherwise.
QString DescribeFromTypeKey(reg::RegState& state, const ExtensionEntry& entry);
// The same from what the type key holds, read once for all extensions of a type.
struct TypeKeyText {
    bool opened = false;
    bool hasValue = false;
    QString text; // the default, terminator removed
};
TypeKeyText ReadTypeKeyText(reg::RegState& state, const QString& typeName);
QString DescribeFromTypeKey(const ExtensionEntry& entry, const TypeKeyText& typeKey);
// The finished description: "*" and UNKNOWN get their fixed texts, and a description that still
// begins with "." (the key name as a fallback) becomes Ext + "__File".
QString FinishDescription(const ExtensionEntry& entry, const QString& description);

// The command text of a verb's "command" key (a full path ending in "\command"); "" when missing
// or one character or less.
QString ReadCommand(detail::OpenedKey& commandKey);
QString ReadCommand(reg::RegState& state, const QString& commandKeyPath);

struct Flags {
    QString AlwaysShowExt = kNo; // "yes" when the value can be read at all
    QString QuickView = kNo;     // "yes" when {type}\QuickView opens
};
Flags LoadFlags(reg::RegState& state, const QString& typeName);

// The actions of a type as the actions grid (flex3) and the default-action label show them.
struct ActionList {
    QList<ActionEntry> actions; // every verb, in enumeration order (row n is actions[n-1])
    QString DefaultVerb;        // Shell's default, trimmed
    bool DefaultFound = false;  // the default verb is among the verbs and at most 50 characters
    QString DefaultLabel;       // lblDefault: the default's DisplayName, else DefaultVerb
    QString CountText = QStringLiteral("0");
    QString Header0; // "<Action" + 18 blanks, or "<Actions (n)" + 10 blanks
    QString Header1; // "<Peformed With" + 120 blanks, or with " / Default Action (verb)"
    QString formatString() const { return Header0 + u'|' + Header1; }
};
ActionList LoadActions(reg::RegState& state, const QString& typeName);

// What the action panel loads for one row of the actions grid.
struct ActionDetail {
    bool found = false;
    ActionEntry action; // Verb, DisplayName; Command when longer than 3 characters; DDE fields
    QString ActionName; // the verb key's default unquoted (DisplayName when absent)
};
ActionDetail LoadActionDetail(reg::RegState& state, const QString& typeName, const ActionList& list,
                              const QString& displayName);

// The verb key for a new action: the words of the name joined by "_".
QString VerbFromActionName(const QString& actionName);

} // namespace orvanex::model
