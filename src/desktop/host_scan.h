#pragma once
// The host entries: every desktop entry, MIME package, icon and mimeapps.list line Wine's menu
// builder left under the user's XDG folders, each tied to its extension and prefix, with the
// state of its association in that prefix.

#include "desktop/host_folders.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace orvanex::desktop {

enum class HostKind { DesktopEntry, MimePackage, Icon, MimeAppsLine };
enum class HostState { Live, Stale, Orphan };

QString kindName(HostKind kind);    // "desktop", "mime", "icon", "mimeapps"
QString stateName(HostState state); // "live", "stale", "orphan"

struct HostItem {
    HostKind kind = HostKind::DesktopEntry;
    QString ext;    // ".pdf", lower case
    QString prefix; // normalised
    HostState state = HostState::Orphan;
    QString path;     // the file; for a mimeapps.list line, the list
    QString line;     // a mimeapps.list line as it stands
    QString mimeType; // desktop entries and packages
    QString progId;   // desktop entries
    // The extensions whose entries name this icon; an icon goes only with the last of them.
    QStringList namedBy;
};

// prefixFilter: only the items of that prefix ("" for all prefixes).
QList<HostItem> scanHostItems(const HostFolders& folders, const QString& prefixFilter = {});

// One line of `orvx host list`: EXT<TAB>KIND<TAB>STATE<TAB>PREFIX<TAB>PATH (and the line).
QString listLine(const HostItem& item);

} // namespace orvanex::desktop
