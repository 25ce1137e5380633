#pragma once
// The icons of one PE, NE or ICO file, read once and extracted as often as needed (the icon grid
// draws every icon of a library).

#include "platform/byte_view.h"
#include "platform/exe_resources.h"

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QString>

#include <memory>

namespace orvanex::platform {

class MappedFile;

class IconFile {
public:
    explicit IconFile(const QString& path);
    // Over bytes already in memory (kept by the object).
    explicit IconFile(const QByteArray& bytes);
    ~IconFile();
    IconFile(const IconFile&) = delete;
    IconFile& operator=(const IconFile&) = delete;

    // Number of icons (icon groups; 1 for an ICO file), 0 when none or unreadable.
    int count() const;
    // The numeric resource ids of the icon groups, in the file's order (a negative icon index
    // names one of them); empty for an ICO file.
    QList<std::uint32_t> iconGroupIds() const;
    // Icon `index` drawn at size x size (32 is the standard icon), null when there is none.
    QImage icon(int index, int size = 32) const;

private:
    void load();
    bool changed() const;

    std::unique_ptr<MappedFile> mapped_;
    QByteArray owned_;
    ByteView bytes_;
    bool ico_ = false;
    ResourceIndex resources_;
    QList<ResourceEntry> groups_;
    QHash<quint32, ByteView> icons_; // icon images by id
};

// Icon `index` of the file at size x size, for HiDPI drawing; null when there is none.
QImage extractIconSized(const QString& path, int index, int size);

} // namespace orvanex::platform
