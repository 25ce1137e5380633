#pragma once
// Start-up loading: the extension table and list (the load handler), then the file-type list,
// the update-slot reset and the application and icon-file lists (the timer).

#include "model/file_type_model.h"
#include "model/grid_rows.h"
#include "model/list_filter.h"
#include "platform/drive_map.h"
#include "registry/reg_state.h"

#include <QSet>
#include <QStringList>

namespace orvanex::model {

// The status hint the timer leaves in the status line.
QString startupHint();

struct ExtensionLoad {
    QList<ExtensionEntry> entries; // in enumeration order (the table)
    QList<IndexRow> rows;          // flex1's data rows, sorted by column 0, specials marked
};
// Every ".", "*" and "Unknown" key of HKEY_CLASSES_ROOT, with descriptions.
ExtensionLoad LoadExtensions(reg::RegState& state);

struct FileTypeLoad {
    QList<FileTypeEntry> types; // every distinct TypeName, in TypeName order
    QList<IndexRow> rows; // flex2's rows: types whose description does not begin with "."; sorted
};
// The file types from the extension table's copies: one per distinct TypeName, described by its
// first extension in table order, with its extensions sorted and joined by blanks; the list's
// rows leave out the types whose description begins with ".".
FileTypeLoad BuildFileTypes(const QList<ExtensionEntry>& entries);

// The Ext of every entry of typeName, sorted; `except` (an index into entries) is left out.
QStringList extensionsOfType(const QList<ExtensionEntry>& entries, const QString& typeName,
                             qsizetype except = -1);

// Every key of the ten update slots becomes " "; "NextNumber" is read (default
// "1000"), trimmed and written back. One settings write for all.
void ResetUpdateSlots();
// The 17 keys of an update slot, in their read order, and the section name of slot n (1..10).
QStringList updateSlotKeys();
QString updateSlotSection(int n);

// The known command lines (Add application rule).
class ApplicationList {
public:
    // Appended when not "" or " ", at least 10 characters and not yet present (exact).
    bool add(const QString& commandLine);
    const QStringList& items() const { return m_items; }
    bool firstPending() const { return m_items.isEmpty(); }

private:
    QStringList m_items;
    QSet<QString> m_seen;
};

// The known icon files (Add icon file rule).
class IconFileList {
public:
    // Appended when not yet present, compared upper-cased.
    bool add(const QString& path);
    const QStringList& items() const { return m_items; }
    bool firstPending() const { return m_items.isEmpty(); }

private:
    QStringList m_items;
    QSet<QString> m_seen;
};

struct AuxiliaryLists {
    ApplicationList applications;
    IconFileList iconFiles;
    QHash<QString, TypeFilterTexts> typeTexts; // each type's open command and icon, for the filter
};
// The known lists: the commands of every verb of every type, and every type's existing
// icon file.
AuxiliaryLists GatherAuxiliaryLists(reg::RegState& state, const platform::DriveMap& drives,
                                    const QList<FileTypeEntry>& types);

// The whole start-up work in order (without the windows): what orvx and the benchmark use.
struct StartupModel {
    ExtensionLoad extensions;
    FileTypeLoad fileTypes;
    AuxiliaryLists lists;
};
StartupModel LoadStartupModel(reg::RegState& state, const platform::DriveMap& drives,
                              bool resetSlots);

} // namespace orvanex::model
