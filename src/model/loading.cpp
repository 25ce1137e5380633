#include "model/loading.h"

#include "model/grid_sort.h"
#include "model/icon_location.h"
#include "model/readers.h"
#include "model/registry_access.h"
#include "settings/settings_store.h"

#include <QHash>
#include <algorithm>
#include <numeric>
#include <vector>

namespace orvanex::model {

QString startupHint() {
    return QString(20, u' ') +
           QStringLiteral("Click on the file extensions to Browse/Edit file types!") +
           QString(19, u' ') + QStringLiteral("Right click on titles for extended help!");
}

namespace {

// The registry lists its keys in name order, so a type's extensions mostly come sorted already:
// checking first makes that common case linear.
void sortTexts(QStringList& texts) {
    if (!std::is_sorted(texts.cbegin(), texts.cend()))
        std::sort(texts.begin(), texts.end());
}

} // namespace

ExtensionLoad LoadExtensions(reg::RegState& state) {
    ExtensionLoad load;
    detail::OpenedKey root(state, QString());
    root.forEachSubkey([&](const QString& name) {
        ExtensionEntry entry;
        if (name == kAllKey) {
            entry.Ext = kAllKey;
        } else if (name == kUnknownKey) { // exact case: "unknown" is an ordinary type key
            entry.Ext = kUnknownExt;
        } else if (name.startsWith(u'.')) {
            entry.Ext = name.mid(1).toUpper().trimmed();
        } else {
            return;
        }
        entry.KeyName = name;
        detail::OpenedKey key(root, name); // both values from one open
        entry.TypeName = ReadTypeName(key, name);
        entry.ContentType = ReadContentType(key);
        load.entries.append(std::move(entry));
    });
    load.rows.reserve(load.entries.size());
    QHash<QString, TypeKeyText> typeKeys; // extensions share their types: read each once
    typeKeys.reserve(load.entries.size());
    for (ExtensionEntry& entry : load.entries) {
        auto known = typeKeys.find(entry.TypeName);
        if (known == typeKeys.end())
            known = typeKeys.insert(entry.TypeName, ReadTypeKeyText(state, entry.TypeName));
        const QString description = DescribeFromTypeKey(entry, known.value());
        entry.TypeNameCopy = entry.TypeName;
        entry.DescriptionCopy = description;
        entry.Description = FinishDescription(entry, description);
        load.rows.append(extensionRow(entry.Ext, entry.Description));
    }
    sortRows(load.rows, 0, true);
    return load;
}

FileTypeLoad BuildFileTypes(const QList<ExtensionEntry>& entries) {
    FileTypeLoad load;
    // One type per distinct TypeName, described by its first extension in table order; the
    // distinct names are then put in TypeName order (sorting the few types, not every entry).
    QList<FileTypeEntry> firstSeen;
    QHash<QString, qsizetype> typeOf; // TypeName to its place in firstSeen
    typeOf.reserve(entries.size());
    std::vector<qsizetype> seenAt(size_t(entries.size())); // each entry's type in firstSeen
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const ExtensionEntry& e = entries[i];
        const qsizetype known = typeOf.size();
        qsizetype& at = typeOf[e.TypeNameCopy];
        if (typeOf.size() != known) {
            at = firstSeen.size();
            firstSeen.append(FileTypeEntry{e.TypeNameCopy, e.DescriptionCopy, QString()});
        }
        seenAt[size_t(i)] = at;
    }
    // The registry lists extensions in name order, and types are often named after them: an
    // adaptive sort makes the runs that arrive in order cheap.
    std::vector<QStringView> names;
    names.reserve(size_t(firstSeen.size()));
    for (const FileTypeEntry& t : firstSeen)
        names.emplace_back(t.TypeName);
    const std::vector<qsizetype> order = stableOrder(names, true);
    std::vector<qsizetype> place(order.size()); // firstSeen's index to the sorted one
    load.types.reserve(firstSeen.size());
    for (qsizetype i : order) {
        place[size_t(i)] = load.types.size();
        load.types.append(std::move(firstSeen[i]));
    }

    QList<QStringList> exts(load.types.size());
    load.rows.reserve(load.types.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const ExtensionEntry& e = entries[i];
        // Where the two names agree (always, but after an edit) the first pass's answer serves.
        qsizetype seen = seenAt[size_t(i)];
        if (!e.TypeName.isSharedWith(e.TypeNameCopy) && e.TypeName != e.TypeNameCopy) {
            const auto it = typeOf.constFind(e.TypeName);
            seen = it == typeOf.cend() ? -1 : it.value();
        }
        if (seen >= 0)
            exts[place[size_t(seen)]].append(e.Ext);
    }
    for (qsizetype t = 0; t < load.types.size(); ++t) {
        sortTexts(exts[t]);
        FileTypeEntry& type = load.types[t];
        type.Extensions = exts[t].join(u' ');
        // Types known only by an extension key's own name stay out of the list.
        if (type.Description.startsWith(u'.'))
            continue;
        if (type.Extensions == kAllKey)
            type.Description = kAllDescription;
        else if (type.Extensions == kUnknownExt)
            type.Description = kUnknownDescription;
        load.rows.append(fileTypeRow(type.Description, type.Extensions));
    }
    sortRows(load.rows, 0, true);
    return load;
}

QStringList extensionsOfType(const QList<ExtensionEntry>& entries, const QString& typeName,
                             qsizetype except) {
    QStringList exts;
    for (qsizetype i = 0; i < entries.size(); ++i)
        if (i != except && entries[i].TypeName == typeName)
            exts.append(entries[i].Ext);
    sortTexts(exts);
    return exts;
}

QStringList updateSlotKeys() {
    return {QStringLiteral("FileType"),       QStringLiteral("FileExtension"),
            QStringLiteral("Handle"),         QStringLiteral("IconFile"),
            QStringLiteral("IconNumber"),     QStringLiteral("WhichKind"),
            QStringLiteral("ActionHandle"),   QStringLiteral("ActionName"),
            QStringLiteral("Application"),    QStringLiteral("SetDefault"),
            QStringLiteral("UseDDE"),         QStringLiteral("DDEMessage"),
            QStringLiteral("DDEApplication"), QStringLiteral("DDERunning"),
            QStringLiteral("DDETopic"),       QStringLiteral("ShowExtension"),
            QStringLiteral("QuickView")};
}

QString updateSlotSection(int n) {
    return QStringLiteral("Update%1").arg(n, 2, 10, QLatin1Char('0'));
}

void ResetUpdateSlots() {
    const QString app = QString::fromLatin1(kMainAppName);
    SettingsBatch batch(app);
    const QStringList keys = updateSlotKeys();
    for (int n = 1; n <= 10; ++n)
        for (const QString& key : keys)
            SaveSetting(app, updateSlotSection(n), key, QStringLiteral(" "));
    const QString counter = QStringLiteral("NextNumber");
    SaveSetting(app, counter, counter,
                GetSetting(app, counter, counter, QStringLiteral("1000")).trimmed());
}

bool ApplicationList::add(const QString& commandLine) {
    if (commandLine.isEmpty() || commandLine == QLatin1String(" ") || commandLine.size() < 10 ||
        m_seen.contains(commandLine))
        return false;
    m_seen.insert(commandLine);
    m_items.append(commandLine);
    return true;
}

bool IconFileList::add(const QString& path) {
    const QString key = path.toUpper();
    if (m_seen.contains(key))
        return false;
    m_seen.insert(key);
    m_items.append(path);
    return true;
}

AuxiliaryLists GatherAuxiliaryLists(reg::RegState& state, const platform::DriveMap& drives,
                                    const QList<FileTypeEntry>& types) {
    AuxiliaryLists lists;
    lists.typeTexts.reserve(types.size());
    FileExistsMemo memo; // types share their icon files
    // Reused from type to type, so that their memory is taken once rather than per type.
    QList<QPair<QString, QString>> commands;
    QString commandPath;
    for (const FileTypeEntry& type : types) {
        detail::OpenedKey typeKey(state, type.TypeName); // read below, opened once
        detail::OpenedKey shell(typeKey, QStringLiteral("Shell"));
        commands.resize(0);
        shell.forEachSubkey([&](const QString& verb) {
            commandPath.resize(0);
            commandPath.append(verb).append(QLatin1String("\\command"));
            detail::OpenedKey command(shell, commandPath);
            commands.append({verb, ReadCommand(command)});
            lists.applications.add(commands.last().second);
        });
        TypeFilterTexts& texts = lists.typeTexts[type.TypeName];
        if (!commands.isEmpty()) {
            QString defaultVerb;
            shell.readText(QString(), QString(), &defaultVerb);
            texts.openCommand = openCommandOf(defaultVerb, commands);
        }
        const IconLocation icon = ReadDefaultIcon(typeKey, drives, &memo);
        texts.icon = icon.Present ? icon.Raw : QString();
        if (icon.Exists)
            lists.iconFiles.add(icon.File);
    }
    return lists;
}

StartupModel LoadStartupModel(reg::RegState& state, const platform::DriveMap& drives,
                              bool resetSlots) {
    StartupModel model;
    model.extensions = LoadExtensions(state);
    model.fileTypes = BuildFileTypes(model.extensions.entries);
    if (resetSlots)
        ResetUpdateSlots();
    model.lists = GatherAuxiliaryLists(state, drives, model.fileTypes.types);
    return model;
}

} // namespace orvanex::model
