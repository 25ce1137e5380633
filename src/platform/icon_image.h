#pragma once
// Icon images: the directories of ICO files and icon groups, the choice of one image for a size,
// and decoding of DIB (1, 4, 8, 16, 24, 32 bits with AND mask) and PNG images.

#include "platform/byte_view.h"

#include <QImage>
#include <QList>

namespace orvanex::platform {

struct IconImageRef {
    int width = 0; // as the directory states it (0 there means 256)
    int height = 0;
    int bitCount = 0; // colour depth, taken from the image itself when it says
    ByteView data;    // the DIB or PNG bytes
};

// The images of an ICO file; empty when the bytes are not an icon file.
QList<IconImageRef> readIcoDirectory(ByteView file);

// The images of an icon group resource (RT_GROUP_ICON); `icons` gives the bytes of the icon
// resource (RT_ICON) with a given id, empty when absent. Missing images are left out.
template <typename Lookup> QList<IconImageRef> readIconGroup(ByteView group, Lookup&& icons);

// Decodes one image to ARGB32 premultiplied; null for bytes that are not a valid image.
QImage decodeIconImage(ByteView data);

// The image Windows draws at size x size, scaled to that size when needed: the exact size with
// the deepest colours, otherwise the nearest size (larger before smaller), deepest colours first;
// a damaged image gives way to the next best. Null when none decodes.
QImage iconImageForSize(const QList<IconImageRef>& images, int size);

// Largest icon image side accepted; bigger ones are refused before anything is allocated.
inline constexpr int kMaxIconSide = 512;

// Fills in bitCount from the image bytes (or the directory's colour count as a last resort).
int imageBitCount(ByteView data, int declaredBits, int colourCount);

template <typename Lookup> QList<IconImageRef> readIconGroup(ByteView group, Lookup&& icons) {
    QList<IconImageRef> out;
    if (!group.has(0, 6) || group.u16(0) != 0 || group.u16(2) != 1)
        return out;
    const int count = group.u16(4);
    for (int i = 0; i < count; ++i) {
        const qint64 at = 6 + qint64(i) * 14;
        if (!group.has(at, 14))
            break;
        IconImageRef ref;
        ref.width = group.u8(at) ? group.u8(at) : 256;
        ref.height = group.u8(at + 1) ? group.u8(at + 1) : 256;
        ref.data = icons(group.u16(at + 12));
        if (ref.data.isEmpty())
            continue;
        ref.bitCount = imageBitCount(ref.data, group.u16(at + 6), group.u8(at + 2));
        out.append(ref);
    }
    return out;
}

} // namespace orvanex::platform
