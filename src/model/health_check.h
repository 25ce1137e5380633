#pragma once
// The associations check: extensions naming a type that has no key, actions whose program is
// not there, icons whose file is missing or whose index names no icon, DDE actions without
// application or topic. Read through the model's readers and the drive map; nothing is written.

#include "model/file_type_model.h"
#include "platform/drive_map.h"
#include "registry/reg_state.h"

#include <QHash>
#include <QList>
#include <QString>

namespace orvanex::model {

enum class FindingKind { MissingType, MissingProgram, MissingIcon, BadIconIndex, DdeIncomplete };
// "missing-type", "missing-program", "missing-icon", "bad-icon-index", "dde-incomplete".
QString findingKindName(FindingKind kind);

struct Finding {
    FindingKind kind = FindingKind::MissingType;
    QString entry;    // the extension key (".foo") for missing-type, else the type key
    QString detail;   // what is wrong, with the text the registry holds
    QString typeName; // the type key concerned (for missing-type: the one named)
    QString verb;     // the action, for missing-program and dde-incomplete
    // KIND<TAB>ENTRY<TAB>DETAIL
    QString line() const;
};

struct HealthReport {
    QList<Finding> findings; // sorted by entry, then kind and detail
    int extensions = 0;      // checked
    int types = 0;           // type keys that exist, checked
    int actions = 0;
    int iconFilesRead = 0; // distinct icon files opened for their icons
};

// The App Paths key of HKEY_LOCAL_MACHINE: each program's upper-cased key name with its default
// value.
QHash<QString, QString> ReadAppPaths(reg::Registry& registry);

// Checks the extensions of the table and the types built from them.
HealthReport CheckAssociations(reg::RegState& state, const platform::DriveMap& drives,
                               const QList<ExtensionEntry>& extensions,
                               const QList<FileTypeEntry>& types);
// The same after loading the tables as the start-up does.
HealthReport CheckAssociations(reg::RegState& state, const platform::DriveMap& drives);

} // namespace orvanex::model
