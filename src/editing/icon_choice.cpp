#include "editing/icon_choice.h"

#include "model/icon_location.h"
#include "platform/icon_file.h"

#include <QPainter>

#include <algorithm>
#include <climits>

namespace orvanex::editing {

int iconNumberValue(const QString& text) {
    const QString t = text.trimmed();
    qsizetype at = 0;
    bool negative = false;
    if (at < t.size() && (t[at] == u'-' || t[at] == u'+')) {
        negative = t[at] == u'-';
        ++at;
    }
    qint64 n = 0;
    for (; at < t.size() && t[at] >= u'0' && t[at] <= u'9'; ++at)
        n = std::min<qint64>(n * 10 + (t[at].unicode() - u'0'), INT_MAX);
    return static_cast<int>(negative ? -n : n);
}

IconStep stepIcon(const QString& iconNumberText, int iconCount, int barValue, bool& sync) {
    const QString text = iconNumberText.isEmpty() ? QStringLiteral("0") : iconNumberText;
    const int wanted = iconNumberValue(text);
    IconStep step;
    step.maximum = std::max(iconCount - 1, 0);
    step.value = std::clamp(barValue, 0, step.maximum);
    if (wanted > step.maximum || wanted < 0) {
        step.value = 0;
    } else if (sync) {
        sync = false;
        step.value = wanted;
    }
    return step;
}

QString iconsFoundStatus(int count, const QString& file) {
    const QString number = QString::number(count);
    return (count >= 0 ? QStringLiteral(" ") : QString()) + number +
           QStringLiteral(" Icons Found for ") + file;
}

QString noIconsStatus(const QString& file) {
    return QStringLiteral("No Icons Found for ") + file;
}

IconViewTarget iconViewTarget(const QString& iconField) {
    const model::IconLocation icon = model::SplitIconLocation(iconField);
    IconViewTarget target;
    target.file = icon.File;
    if (model::isIconContainerKind(icon.Kind))
        target.kind = IconViewKind::Container;
    else if (icon.Kind == QLatin1String("ICO"))
        target.kind = IconViewKind::Single;
    return target;
}

QString nativeIconPath(const platform::DriveMap& drives, const QString& file) {
    const QString native = drives.toNative(file);
    if (!native.isEmpty())
        return native;
    return file.startsWith(u'/') ? file : QString();
}

IconSheet readIconSheet(const platform::DriveMap& drives, const QString& file, int size) {
    IconSheet sheet;
    const QString native = nativeIconPath(drives, file);
    if (native.isEmpty())
        return sheet;
    const platform::IconFile icons(native);
    sheet.count = icons.count();
    sheet.icons.reserve(sheet.count);
    for (int i = 0; i < sheet.count; ++i)
        sheet.icons.append(size > 0 ? icons.icon(i, size) : QImage());
    return sheet;
}

QString iconFileListHeader(int count) {
    return QString::number(count) + QString(35, u' ') +
           QStringLiteral(" Icon files listed - Please make the desired selection!");
}

QString iconPreviewLabel(int count) {
    return QString::number(count) + QStringLiteral("    ") +
           QStringLiteral(" icons for view only        press the 'Select' button to make the "
                          "icon selection");
}

QString iconBrowseTitle() {
    return QStringLiteral("ORVANEX - Browse for icon file.");
}

QStringList iconBrowseFilters() {
    return {
        QStringLiteral("Applications (*.exe *.dll *.ico *.cpl *.pkg *.icl)"),
        QStringLiteral("Applications (*.dll)"),
        QStringLiteral("Applications (*.exe)"),
        QStringLiteral("Icon Files (*.ico)"),
        QStringLiteral("Control Panel Extension (*.cpl)"),
        QStringLiteral("Icon Library (*.icl)"),
        QStringLiteral("Package Files (*.pkg)"),
        // "*.*" would miss the many Linux files without a dot.
        QStringLiteral("All Files (*)"),
    };
}

QString browsedIconFile(const platform::DriveMap& drives, const QString& nativePath) {
    if (nativePath.isEmpty())
        return {};
    const QString windows = drives.toWindows(nativePath);
    return windows.isEmpty() ? nativePath : windows;
}

QImage iconSheetPicture(const IconSheet& sheet, int cell) {
    const int rows = iconPanelRows(sheet.count);
    QImage picture(kIconsPerRow * cell, rows * cell, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    for (int i = 0; i < sheet.icons.size(); ++i) {
        if (!sheet.icons[i].isNull())
            painter.drawImage(QPoint(iconColumnOf(i) * cell, iconRowOf(i) * cell), sheet.icons[i]);
    }
    return picture;
}

} // namespace orvanex::editing
