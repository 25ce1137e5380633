#include "desktop/host_scan.h"

#include "desktop/desktop_entry_text.h"
#include "desktop/mimeapps_lines.h"
#include "desktop/wine_association.h"
#include "registry/wine_registry.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <memory>

namespace orvanex::desktop {

namespace {

QByteArray readSmallFile(const QString& path) {
    QFile f(path);
    // Entries are a few hundred bytes; a huge file here is not Wine's and is not read whole.
    if (!f.open(QIODevice::ReadOnly) || f.size() > 1 << 20)
        return QByteArray();
    return f.readAll();
}

QStringList filesOf(const QString& folder, const QString& pattern) {
    QStringList paths;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({pattern}, QDir::Files, QDir::Name))
        paths.append(dir.filePath(name));
    return paths;
}

// The state of each (prefix, extension), each prefix's registry read once.
class StateCache {
public:
    HostState stateOf(const QString& prefix, const QString& ext) {
        auto it = m_registries.find(prefix);
        if (it == m_registries.end()) {
            QString why;
            std::shared_ptr<reg::Registry> r;
            if (reg::isWinePrefix(prefix, &why))
                r = reg::openWineRegistry(prefix);
            it = m_registries.insert(prefix, r);
        }
        if (!*it)
            return HostState::Orphan;
        return findAssociation(**it, ext).live() ? HostState::Live : HostState::Stale;
    }

private:
    QHash<QString, std::shared_ptr<reg::Registry>> m_registries;
};

} // namespace

QString kindName(HostKind kind) {
    switch (kind) {
    case HostKind::DesktopEntry:
        return QStringLiteral("desktop");
    case HostKind::MimePackage:
        return QStringLiteral("mime");
    case HostKind::Icon:
        return QStringLiteral("icon");
    case HostKind::MimeAppsLine:
        return QStringLiteral("mimeapps");
    }
    return QString();
}

QString stateName(HostState state) {
    switch (state) {
    case HostState::Live:
        return QStringLiteral("live");
    case HostState::Stale:
        return QStringLiteral("stale");
    case HostState::Orphan:
        return QStringLiteral("orphan");
    }
    return QString();
}

QList<HostItem> scanHostItems(const HostFolders& folders, const QString& prefixFilter) {
    QList<HostItem> items;
    QHash<QString, QString> prefixOfExt;       // from the desktop entries
    QHash<QString, QStringList> iconUsers;     // icon name -> extensions, apps folder
    QHash<QString, QStringList> mimeIconUsers; // mimetypes folder
    for (const QString& path :
         filesOf(folders.applications(), QStringLiteral("wine-extension-*.desktop"))) {
        const QString ext = extensionOfEntryName(QFileInfo(path).fileName()).toLower();
        const auto keys = desktopEntryKeys(readSmallFile(path));
        HostItem item;
        item.ext = ext;
        item.path = path;
        item.prefix =
            normalPrefix(prefixOfExec(keys.value(QStringLiteral("Exec")), folders.defaultPrefix()));
        item.mimeType = keys.value(QStringLiteral("MimeType")).section(u';', 0, 0);
        item.progId = progIdOfExec(keys.value(QStringLiteral("Exec")));
        prefixOfExt.insert(ext, item.prefix);
        const QString icon = keys.value(QStringLiteral("Icon"));
        if (!icon.isEmpty() && !icon.contains(u'/'))
            iconUsers[icon].append(ext);
        items.append(item);
    }
    const auto prefixFor = [&](const QString& ext) {
        return prefixOfExt.value(ext, normalPrefix(folders.defaultPrefix()));
    };
    for (const QString& path :
         filesOf(folders.mimePackages(), QStringLiteral("x-wine-extension-*.xml"))) {
        const QByteArray text = readSmallFile(path);
        HostItem item;
        item.kind = HostKind::MimePackage;
        item.ext = extensionOfPackageName(QFileInfo(path).fileName()).toLower();
        item.path = path;
        item.prefix = prefixFor(item.ext);
        item.mimeType = packageMimeType(text);
        const QString icon = packageIconName(text);
        if (!icon.isEmpty() && !icon.contains(u'/'))
            mimeIconUsers[icon].append(item.ext);
        items.append(item);
    }
    // Icons of every size the entries and packages name.
    const QDir hicolor(folders.hicolor());
    const QStringList sizes = hicolor.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    const auto addIcons = [&](const QHash<QString, QStringList>& users, const QString& sub) {
        QStringList names = users.keys();
        names.sort();
        for (const QString& name : names)
            for (const QString& size : sizes)
                for (const QString& file : iconFileNames(name)) {
                    const QString path = hicolor.filePath(size + u'/' + sub + u'/' + file);
                    if (!QFileInfo(path).isFile())
                        continue;
                    HostItem item;
                    item.kind = HostKind::Icon;
                    item.ext = users.value(name).first();
                    item.prefix = prefixFor(item.ext);
                    item.path = path;
                    item.namedBy = users.value(name);
                    items.append(item);
                }
    };
    addIcons(iconUsers, QStringLiteral("apps"));
    addIcons(mimeIconUsers, QStringLiteral("mimetypes"));
    const QString list = folders.mimeappsList();
    for (const MimeAppsLine& l : wineLines(readSmallFile(list))) {
        HostItem item;
        item.kind = HostKind::MimeAppsLine;
        item.ext = extensionOfEntryName(l.entry).toLower();
        item.prefix = prefixFor(item.ext);
        item.path = list;
        item.line = QString::fromUtf8(l.text);
        items.append(item);
    }
    const QString only = normalPrefix(prefixFilter);
    QList<HostItem> chosen;
    StateCache states;
    for (HostItem& item : items) {
        if (!only.isEmpty() && item.prefix != only)
            continue;
        item.state = states.stateOf(item.prefix, item.ext);
        chosen.append(item);
    }
    return chosen;
}

QString listLine(const HostItem& item) {
    QString line = item.ext + u'\t' + kindName(item.kind) + u'\t' + stateName(item.state) + u'\t' +
                   item.prefix + u'\t' + item.path;
    if (item.kind == HostKind::MimeAppsLine)
        line += u'\t' + item.line;
    return line;
}

} // namespace orvanex::desktop
