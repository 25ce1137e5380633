#pragma once
// The records of the file-type model and the fixed texts they use. The tables grow as needed:
// every extension, every extension of a type and every action that exists is kept.

#include <QList>
#include <QString>
#include <cstdint>

namespace orvanex::model {

inline const QString kYes = QStringLiteral("yes");
inline const QString kNo = QStringLiteral("no");

// The two special extension keys.
inline const QString kAllKey = QStringLiteral("*");
inline const QString kUnknownKey = QStringLiteral("Unknown");
inline const QString kUnknownExt = QStringLiteral("UNKNOWN");
inline const QString kAllDescription = QStringLiteral("Used for all file extensions");
inline const QString kUnknownDescription = QStringLiteral("Used for unregistered file extensions");

// The icon writer's own status: the icon file named does not exist.
inline constexpr std::int32_t kIconFileMissing = 99999;

struct ExtensionEntry {
    QString Ext;         // key name without its dot, trimmed, upper-cased; "*"; "UNKNOWN"
    QString KeyName;     // as enumerated: ".txt", "*", "Unknown"
    QString TypeName;    // default value, or KeyName when shorter than 3 characters
    QString Description; // described from the type key, then finished (model/readers.h)
    QString ContentType; // "Content Type" value, or " " when absent
    // The copies the file-type list is built from, taken before the "."-fallback and the wildcard
    // texts were applied, so types without a real key stay out of that list.
    QString TypeNameCopy;
    QString DescriptionCopy;
};

struct FileTypeEntry {
    QString TypeName;
    QString Description; // of the first extension of the type; wildcard texts applied
    QString Extensions;  // every Ext of the type, sorted, joined by single blanks
};

struct ActionEntry {
    QString Verb;        // subkey name under Shell, trimmed
    QString DisplayName; // the verb key's default unquoted, or Verb when absent
    QString Command;     // "" when absent or one character or less
    QString DdeMessage;
    QString DdeApplication;
    QString DdeNotRunning;
    QString DdeTopic;
    QString IsDefault = kNo;
    QString UsesDde = kNo;
};

struct IconLocation {
    bool Present = false; // a DefaultIcon value longer than one character was read
    QString Raw;          // the value without terminator and surrounding quotes
    QString File;         // before the last comma, unquoted; Raw when there is no comma
    QString IndexText;    // after the last comma; "" without comma
    std::int32_t Index = 0;
    QString Kind;        // text after the last dot of File, upper-cased
    bool Exists = false; // tested only for icon kinds with a drive-letter path
};

} // namespace orvanex::model

// Entries of QStrings only: lists of tens of thousands grow by moving their bytes.
Q_DECLARE_TYPEINFO(orvanex::model::ExtensionEntry, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(orvanex::model::FileTypeEntry, Q_RELOCATABLE_TYPE);
