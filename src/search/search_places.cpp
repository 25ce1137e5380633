#include "search/search_places.h"

#include "settings/settings_store.h"

#include <QDir>
#include <QFileInfo>

namespace orvanex::search {

namespace {

const QString kSearch = QStringLiteral("TheSearch");
const QString kCopy = QStringLiteral("TheCopy");
const QString kStartSection = QStringLiteral("CheckWarning1");

QString copySetting(const char* section, const QString& fallback) {
    return GetSetting(kMainAppName, QString::fromLatin1(section), kCopy, fallback);
}

void saveCopySetting(const char* section, const QString& value) {
    SaveSetting(kMainAppName, QString::fromLatin1(section), kCopy, value);
}

QString mark(bool on) {
    return on ? QStringLiteral("y") : QStringLiteral("n");
}

} // namespace

QString shownPath(const platform::DriveMap& drives, const QString& nativePath) {
    const QString w = drives.toWindows(nativePath);
    return w.isEmpty() ? nativePath : w;
}

QString openingStartFolder(const platform::DriveMap& drives, const QString& defaultStart) {
    const QString saved = GetSetting(kMainAppName, kStartSection, kSearch, defaultStart);
    SaveSetting(kMainAppName, kStartSection, kSearch, saved);
    QString start = drives.toNative(saved);
    if (start.isEmpty() || !QFileInfo(start).isDir())
        start = drives.toNative(defaultStart); // the saved folder is gone: the drive's root
    if (start.isEmpty() || !QFileInfo(start).isDir())
        start = QDir::rootPath();
    return start;
}

void saveStartFolder(const QString& shownFolder) {
    SaveSetting(kMainAppName, kStartSection, kSearch, shownFolder);
}

CopyChoices readCopyChoices(const QString& shownAppFolder) {
    const QString warn = copySetting("CheckWarning1", QStringLiteral("y"));
    const QString useFolder = copySetting("CheckWarning2", QStringLiteral("y"));
    const QString stored = copySetting("CheckWarning3", QString());
    saveCopySetting("CheckWarning1", warn);
    saveCopySetting("CheckWarning2", useFolder);
    const bool chosen =
        !stored.isEmpty() && stored != shownAppFolder && stored + u'\\' != shownAppFolder;
    if (chosen)
        saveCopySetting("CheckWarning3", stored);
    return {warn == QLatin1String("y"), useFolder == QLatin1String("y"),
            chosen ? stored : QString()};
}

void saveCopyChoices(bool warn, bool useFolder, const std::optional<QString>& folder) {
    saveCopySetting("CheckWarning1", mark(warn));
    saveCopySetting("CheckWarning2", mark(useFolder));
    if (folder)
        saveCopySetting("CheckWarning3", *folder);
}

FolderListing listFolders(const platform::DriveMap& drives, const QString& folder,
                          const QString& driveFolder) {
    FolderListing listing;
    QStringList chain;
    for (QString f = folder; !f.isEmpty(); f = QFileInfo(f).path()) {
        chain.prepend(f);
        if (f == driveFolder || f == QDir::rootPath() || !f.startsWith(driveFolder))
            break;
    }
    int depth = 0;
    for (const QString& f : chain) {
        const QString name = depth == 0 ? shownPath(drives, f) : QFileInfo(f).fileName();
        listing.rows.append({QString(depth * 2, u' ') + name, f});
        ++depth;
    }
    const QDir dir(folder);
    const QStringList subs = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                                           QDir::Name | QDir::IgnoreCase);
    for (const QString& s : subs)
        listing.rows.append({QString(depth * 2, u' ') + s, dir.filePath(s)});
    listing.current = int(chain.size()) - 1;
    return listing;
}

} // namespace orvanex::search
