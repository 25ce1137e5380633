#include "model/detail_view.h"

#include "model/icon_location.h"
#include "model/loading.h"
#include "model/registry_access.h"
#include "platform/icon_extract.h"

#include <algorithm>

namespace orvanex::model {

namespace {

QString noIcons(const QString& cellText) {
    return QStringLiteral("No Icons Found for ") + cellText;
}

// Opening steps shared by both views: the protected-entry rule on the list's extension text.
void applyProtection(DetailView& view, const QString& extensionText, bool fromTypeList) {
    const bool open = !isProtectedSelection(extensionText);
    view.deleteExtEnabled = open;
    if (fromTypeList)
        view.addExtTypeEnabled = open;
    view.backupEnabled = true;
}

// The icon of the current type: the DefaultIcon value found, counted and drawn.
void showIcon(reg::RegState& state, const platform::DriveMap& drives, DetailView& view,
              const QString& cellText) {
    QString value;
    bool opened = false;
    view.txtIcon.clear();
    if (!detail::readText(state, view.CurrentTypeKey + QStringLiteral("\\DefaultIcon"), QString(),
                          &value, &opened)) {
        view.status = noIcons(cellText);
        return;
    }
    view.icon = SplitIconLocation(value);
    IconLocation& icon = view.icon;
    view.txtIcon = icon.Raw;

    if (isIconContainerKind(icon.Kind)) {
        QString path = icon.File;
        if ((path.size() < 2 || path[1] != u':') && !path.startsWith(u'%')) {
            // A bare name is looked for in the system folder; %SystemRoot%\... names its own.
            QString system = platform::DriveMap::systemDirectory();
            if (!system.endsWith(u'\\'))
                system += u'\\';
            path = system + icon.File;
            view.txtIcon = system + icon.Raw;
        }
        icon.Exists = FileExists(drives, path);
        if (!icon.Exists) {
            view.status = QStringLiteral("No Icon Found for ") + cellText;
            return;
        }
        view.iconNativePath = drives.toNative(path);
        view.iconCount = std::max(platform::extractIconCount(view.iconNativePath), 0);
        if (icon.IndexText.isEmpty())
            icon.IndexText = QStringLiteral("0");
        view.txtIcon = path;
        view.txtIconNumber = icon.IndexText;
        view.status =
            u' ' + QString::number(view.iconCount) + QStringLiteral(" Icons Found for ") + path;
        if (view.iconCount > 1) {
            view.hsEnabled = true;
            view.hsMax = view.iconCount - 1;
        }
        if (view.iconCount > 0) {
            // An index beyond the count draws nothing; the scroll bar stays within its range.
            view.picIcon = platform::extractIcon(view.iconNativePath, icon.Index);
            view.iconCommandsEnabled = true;
            view.hsValue = std::min(icon.Index, view.hsMax);
        }
        return;
    }
    if (icon.Kind == QLatin1String("ICO") && !icon.Raw.startsWith(u'%') && icon.File.size() > 1 &&
        icon.File[1] == u':' && FileExists(drives, icon.File)) {
        icon.Exists = true;
        view.iconNativePath = drives.toNative(icon.File);
        view.picIcon = platform::extractIcon(view.iconNativePath, 0);
        view.iconCount = 1;
        view.status = QStringLiteral("1 Icon Found for ") + icon.File;
        return;
    }
    view.status = noIcons(cellText);
}

// Closing steps once a type was found: flags, actions, edit state and the wildcard texts.
void finishView(reg::RegState& state, DetailView& view, const QString& extensionText) {
    view.typeFound = true;
    view.OldIconFile = view.txtIcon;
    view.OldIconNumber = view.txtIconNumber;
    view.flags = LoadFlags(state, view.CurrentTypeKey);
    view.actions = LoadActions(state, view.CurrentTypeKey);
    view.EditState = 1;
    if (extensionText == kAllKey)
        view.status = QStringLiteral("Wildcard (*) for all file extensions!!");
    else if (extensionText == kUnknownExt)
        view.status = QStringLiteral("Wildcard (UNKNOWN) for all unregistered file extensions!!");
}

// Both views: the row's texts into the fields, the protected-entry rule and the status, then
// the icon and the rest once find(view) has found the row's type (and filled in what its list
// knows of it).
template <typename Find>
DetailView showView(reg::RegState& state, const platform::DriveMap& drives, const SelectedRow& row,
                    bool fromTypeList, Find find) {
    DetailView view;
    // flex2 rows hold a description and extensions, flex1 rows an extension and a description.
    QString& extensionText = fromTypeList ? view.txtRel : view.txtExt;
    extensionText = fromTypeList ? row.column3 : row.column0;
    view.txtDesc = fromTypeList ? row.column0 : row.column3;
    applyProtection(view, extensionText, fromTypeList);
    view.status = retrievingStatus(row.cellText, fromTypeList);
    if (!find(view)) {
        view.status = noIcons(row.cellText);
        return view;
    }
    showIcon(state, drives, view, row.cellText);
    finishView(state, view, extensionText);
    return view;
}

} // namespace

QString retrievingStatus(const QString& cellText, bool fileType) {
    return QStringLiteral("Retrieving   '") + cellText + u'\'' +
           (fileType ? QStringLiteral("   file Type") : QStringLiteral("   file extension"));
}

bool isProtectedSelection(const QString& extensionText) {
    static const QStringList protectedTexts{QStringLiteral("EXE"),
                                            QStringLiteral("DLL"),
                                            QStringLiteral("COM"),
                                            QStringLiteral("BAT"),
                                            kAllKey,
                                            kUnknownExt};
    return protectedTexts.contains(extensionText);
}

DetailView ShowFileType(reg::RegState& state, const platform::DriveMap& drives,
                        const QList<FileTypeEntry>& types, const SelectedRow& row) {
    return showView(state, drives, row, true, [&](DetailView& view) {
        const auto it = std::find_if(types.cbegin(), types.cend(), [&](const FileTypeEntry& t) {
            return t.Description == view.txtDesc && t.Extensions == view.txtRel;
        });
        if (it == types.cend())
            return false;
        view.CurrentTypeKey = it->TypeName;
        return true;
    });
}

DetailView ShowExtension(reg::RegState& state, const platform::DriveMap& drives,
                         const QList<ExtensionEntry>& entries, const SelectedRow& row) {
    return showView(state, drives, row, false, [&](DetailView& view) {
        const auto it = std::find_if(entries.cbegin(), entries.cend(),
                                     [&](const ExtensionEntry& e) { return e.Ext == view.txtExt; });
        if (it == entries.cend())
            return false;
        view.txtMIME =
            it->ContentType == QLatin1String(" ") ? QStringLiteral(" ") : it->ContentType;
        view.CurrentTypeKey = it->TypeName;
        const QStringList others = extensionsOfType(entries, it->TypeName, it - entries.cbegin());
        view.txtRel = others.join(u' ');
        view.relatedCount = static_cast<int>(others.size());
        return true;
    });
}

} // namespace orvanex::model
