#pragma once
// The changes to host entries that the window and `orvx host` make: removal (backed up first,
// and keeping Wine from writing a live entry again), restore of a removal, a new entry made on
// purpose, and switching a prefix's export off. Each refreshes the desktop's caches.

#include "desktop/host_folders.h"
#include "desktop/host_scan.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace orvanex::desktop {

struct HostOutcome {
    bool ok = false;
    QString backupName;   // the host backup a removal wrote
    QStringList messages; // what was done, one line each
    QStringList problems; // what failed, and what was only warned about
    bool failed = false;
    void fail(const QString& why) {
        problems.append(why);
        failed = true;
    }
};

// Every item of the (extension, prefix) entries that any item accepted by pick belongs to.
QList<HostItem> entriesOf(const QList<HostItem>& items,
                          const std::function<bool(const HostItem&)>& pick);

// Removes the items: a backup first (nothing is touched when it fails), then the files, the
// mimeapps.list lines (the file rewritten atomically) and each prefix's export log of the
// extensions; a live entry's program joins the prefix's "Exclude" list. Icons that an entry kept
// still names stay.
HostOutcome removeHostItems(const HostFolders& folders, const QList<HostItem>& items,
                            const QString& appFolder);

// Puts a removal's files, lines and registry values back; files that exist are never replaced.
HostOutcome restoreHostBackup(const HostFolders& folders, const QString& name,
                              const QString& appFolder);

// "Enable"="N" in the prefix, after a backup of its export switches.
HostOutcome disableWineExport(const QString& prefix, const QString& appFolder);

// A desktop entry for the extension's Wine type, as Wine's menu builder writes it, and the MIME
// package when the desktop knows no type for the extension.
HostOutcome addHostEntry(const HostFolders& folders, const QString& prefix, const QString& ext);

// The type the entry of ext names: the desktop's own (not the generic octet stream, nor one of
// Wine's), else contentType, else "application/x-wine-extension-EXT"; *desktopKnows tells the
// first case.
QString chooseMimeType(const QString& ext, const QString& contentType, bool* desktopKnows);

// update-desktop-database and update-mime-database on the data folder; what failed (a missing
// program among them) is returned as warnings.
QStringList refreshDesktopCaches(const HostFolders& folders);

// ".pdf" of "pdf", ".PDF" or ".pdf"; "" for a name no file could end with.
QString normalExtension(const QString& text);

} // namespace orvanex::desktop
