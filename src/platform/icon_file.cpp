#include "platform/icon_file.h"

#include "platform/icon_extract.h"
#include "platform/icon_image.h"
#include "platform/mapped_file.h"

#include <QDateTime>
#include <QFileInfo>
#include <QMutex>

namespace orvanex::platform {

IconFile::IconFile(const QString& path) : mapped_(std::make_unique<MappedFile>(path)) {
    bytes_ = mapped_->bytes();
    load();
}

IconFile::IconFile(const QByteArray& bytes) : owned_(bytes) {
    bytes_ = ByteView(QByteArrayView(owned_));
    load();
}

IconFile::~IconFile() = default;

void IconFile::load() {
    if (std::optional<ResourceIndex> index = readResources(bytes_)) {
        resources_ = std::move(*index);
        groups_ = resources_.ofType(kResourceGroupIcon);
        for (const ResourceEntry& e : std::as_const(resources_.entries))
            if (e.type == kResourceIcon && e.name.isEmpty() && !icons_.contains(e.id))
                icons_.insert(e.id, bytes_.sub(e.offset, e.size));
        return;
    }
    ico_ = !readIcoDirectory(bytes_).isEmpty();
}

bool IconFile::changed() const {
    return mapped_ && mapped_->changed();
}

int IconFile::count() const {
    if (changed())
        return 0;
    return ico_ ? 1 : int(groups_.size());
}

QList<std::uint32_t> IconFile::iconGroupIds() const {
    QList<std::uint32_t> ids;
    if (changed())
        return ids;
    for (const ResourceEntry& g : groups_)
        if (g.name.isEmpty())
            ids.append(g.id);
    return ids;
}

QImage IconFile::icon(int index, int size) const {
    if (index < 0 || index >= count())
        return {};
    QImage image;
    if (ico_) {
        image = iconImageForSize(readIcoDirectory(bytes_), size);
    } else {
        const ResourceEntry& group = groups_[index];
        const QList<IconImageRef> images = readIconGroup(
            bytes_.sub(group.offset, group.size), [this](quint16 id) { return icons_.value(id); });
        image = iconImageForSize(images, size);
    }
    // Drawn from zeros where the file was cut while read: not the file's icon.
    return changed() ? QImage() : image;
}

namespace {

// The icon grid and the scroll bar ask one file for one icon after another; re-reading its
// directories every time would cost milliseconds per icon in large libraries. The last file
// read is kept while its size and times are unchanged.
std::shared_ptr<const IconFile> openIconFile(const QString& path) {
    struct Stamp {
        QString path;
        qint64 size = -1;
        QDateTime modified;
        QDateTime changed;
        bool operator==(const Stamp&) const = default;
    };
    static QMutex mutex;
    static Stamp cachedStamp;
    static std::shared_ptr<const IconFile> cached;

    const QFileInfo info(path);
    if (!info.isFile())
        return std::make_shared<const IconFile>(QByteArray());
    const Stamp stamp{info.absoluteFilePath(), info.size(), info.lastModified(),
                      info.metadataChangeTime()};
    const QMutexLocker lock(&mutex);
    if (!cached || !(stamp == cachedStamp)) {
        cached = std::make_shared<const IconFile>(path);
        cachedStamp = stamp;
    }
    return cached;
}

} // namespace

QImage extractIconSized(const QString& path, int index, int size) {
    return openIconFile(path)->icon(index, size);
}

int extractIconCount(const QString& path) {
    return openIconFile(path)->count();
}

QImage extractIcon(const QString& path, int index) {
    return openIconFile(path)->icon(index, 32);
}

} // namespace orvanex::platform
