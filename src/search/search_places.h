#pragma once
// Where the search window looks and what it remembers between openings: the folder a search
// starts in and the copy panel's choices (in the settings store), and the folder list's rows
// (from the file system). The window shows these and keeps to its widgets.

#include "platform/drive_map.h"

#include <QList>
#include <QString>
#include <optional>

namespace orvanex::search {

// A native path as the user sees it: through the drive map ("C:\DOCS"), else as it is.
QString shownPath(const platform::DriveMap& drives, const QString& nativePath);

// The native folder a search window opens in: the saved one ("TheSearch", written back as read
// so that the key exists), else defaultStart ("C:\") when it is there, else the root folder.
QString openingStartFolder(const platform::DriveMap& drives, const QString& defaultStart);
// The next opening starts in this folder, as shown ("C:\DOCS\").
void saveStartFolder(const QString& shownFolder);

struct CopyChoices {
    bool warn = true;      // ask before a file is overwritten
    bool useFolder = true; // copy or move into the default folder
    QString folder;        // the default folder the user chose; "" for none
};
// Reads the copy panel's choices, writing both marks back as read. A stored folder that is the
// program's own (shownAppFolder, the old default, where no user file belongs) is no choice.
CopyChoices readCopyChoices(const QString& shownAppFolder);
// Writes the marks, and the folder when one is given.
void saveCopyChoices(bool warn, bool useFolder, const std::optional<QString>& folder);

struct FolderRow {
    QString text;   // indented two blanks a level
    QString folder; // native
};
struct FolderListing {
    QList<FolderRow> rows;
    int current = -1; // the row of the folder itself
};
// The folder list of a folder on the drive rooted at driveFolder: the folders from the drive's
// root down to it (the first as shownPath names it, the others by their names), then its
// sub-folders, hidden ones too, by name regardless of case, one level further in.
FolderListing listFolders(const platform::DriveMap& drives, const QString& folder,
                          const QString& driveFolder);

} // namespace orvanex::search
