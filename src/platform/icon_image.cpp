#include "platform/icon_image.h"

#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <tuple>

namespace orvanex::platform {

namespace {

constexpr char kPngSignature[] = "\x89PNG\r\n\x1a\n";

bool isPng(ByteView data) {
    return data.startsWith(QByteArrayView(kPngSignature, 8));
}

QImage decodePng(ByteView data) {
    // Refuse huge declared sizes before the decoder allocates for them.
    if (!data.has(0, 24) || data.sub(12, 4).bytes() != "IHDR")
        return {};
    const quint32 width = qFromBigEndian<quint32>(data.data() + 16);
    const quint32 height = qFromBigEndian<quint32>(data.data() + 20);
    if (width == 0 || height == 0 || width > kMaxIconSide || height > kMaxIconSide)
        return {};
    QImage image = QImage::fromData(data.bytes(), "PNG");
    if (image.isNull())
        return {};
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// One colour channel of a 16- or 32-bit pixel under a bit-field mask, scaled to 0..255.
int channel(quint32 pixel, quint32 mask) {
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const quint32 maxValue = mask >> shift;
    return int((((pixel & mask) >> shift) * 255 + maxValue / 2) / maxValue);
}

struct DibLayout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bits = 0;
    qint64 paletteAt = 0;
    int paletteSize = 0;
    quint32 masks[4] = {0, 0, 0, 0}; // red, green, blue, alpha
    qint64 pixelsAt = 0;
    qint64 xorStride = 0;
    qint64 andStride = 0;
};

bool readDibLayout(ByteView data, DibLayout& l) {
    const quint32 headerSize = data.u32(0);
    if (headerSize < 40 || headerSize > 1024 || !data.has(0, headerSize))
        return false;
    const qint64 width = data.i32(4);
    const qint64 fullHeight = data.i32(8);
    l.topDown = fullHeight < 0;
    // The height counts the colour rows and the mask rows together.
    const qint64 height = std::llabs(fullHeight) / 2;
    if (width <= 0 || width > kMaxIconSide || height <= 0 || height > kMaxIconSide)
        return false;
    l.width = int(width);
    l.height = int(height);
    l.bits = data.u16(14);
    const quint32 compression = data.u32(16);
    const quint32 colorsUsed = data.u32(32);
    qint64 at = headerSize;
    switch (l.bits) {
    case 1:
    case 4:
    case 8:
        if (compression != 0 || colorsUsed > (1u << l.bits))
            return false;
        l.paletteSize = colorsUsed ? int(colorsUsed) : 1 << l.bits;
        l.paletteAt = at;
        at += qint64(l.paletteSize) * 4;
        break;
    case 16:
    case 32:
        if (compression == 3) { // bit fields: three masks after a plain header
            const qint64 masksAt = headerSize == 40 ? at : 40;
            for (int i = 0; i < 3; ++i)
                l.masks[i] = data.u32(masksAt + i * 4);
            if (headerSize >= 56)
                l.masks[3] = data.u32(52);
            if (headerSize == 40)
                at += 12;
        } else if (compression == 0) {
            if (l.bits == 16) {
                l.masks[0] = 0x7c00, l.masks[1] = 0x03e0, l.masks[2] = 0x001f;
            } else {
                l.masks[0] = 0xff0000, l.masks[1] = 0xff00, l.masks[2] = 0xff;
                l.masks[3] = 0xff000000;
            }
        } else {
            return false;
        }
        break;
    case 24:
        if (compression != 0)
            return false;
        break;
    default:
        return false;
    }
    l.pixelsAt = at;
    l.xorStride = ((qint64(l.width) * l.bits + 31) / 32) * 4;
    l.andStride = ((qint64(l.width) + 31) / 32) * 4;
    return data.has(l.pixelsAt, l.xorStride * l.height) && data.has(l.paletteAt, l.paletteSize * 4);
}

QRgb pixelAt(ByteView data, const DibLayout& l, qint64 row, int x) {
    switch (l.bits) {
    case 1:
    case 4:
    case 8: {
        const quint8 byte = data.u8(row + (qint64(x) * l.bits) / 8);
        const int shift = 8 - l.bits - int((qint64(x) * l.bits) % 8);
        const int index = (byte >> shift) & ((1 << l.bits) - 1);
        if (index >= l.paletteSize)
            return qRgb(0, 0, 0);
        const qint64 p = l.paletteAt + qint64(index) * 4;
        return qRgb(data.u8(p + 2), data.u8(p + 1), data.u8(p));
    }
    case 24: {
        const qint64 p = row + qint64(x) * 3;
        return qRgb(data.u8(p + 2), data.u8(p + 1), data.u8(p));
    }
    default: {
        const quint32 v =
            l.bits == 16 ? data.u16(row + qint64(x) * 2) : data.u32(row + qint64(x) * 4);
        const int alpha = l.masks[3] ? channel(v, l.masks[3]) : 255;
        return qRgba(channel(v, l.masks[0]), channel(v, l.masks[1]), channel(v, l.masks[2]), alpha);
    }
    }
}

QImage decodeDib(ByteView data) {
    DibLayout l;
    if (!readDibLayout(data, l))
        return {};
    const qint64 maskAt = l.pixelsAt + l.xorStride * l.height;
    const bool hasMask = data.has(maskAt, l.andStride * l.height);
    QImage image(l.width, l.height, QImage::Format_ARGB32);
    if (image.isNull())
        return {};
    bool anyAlpha = false;
    for (int y = 0; y < l.height; ++y) {
        const qint64 fileRow = l.topDown ? y : l.height - 1 - y;
        const qint64 row = l.pixelsAt + fileRow * l.xorStride;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < l.width; ++x) {
            out[x] = pixelAt(data, l, row, x);
            anyAlpha = anyAlpha || qAlpha(out[x]) != 0;
        }
    }
    // An alpha channel rules when it is used; otherwise the AND mask marks transparent pixels
    // (pixels it would invert on screen are shown as transparent too).
    const bool useAlpha = l.bits == 32 && l.masks[3] && anyAlpha;
    for (int y = 0; y < l.height; ++y) {
        const qint64 fileRow = l.topDown ? y : l.height - 1 - y;
        const qint64 maskRow = maskAt + fileRow * l.andStride;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < l.width; ++x) {
            if (useAlpha)
                continue;
            const bool transparent = hasMask && (data.u8(maskRow + x / 8) & (0x80 >> (x % 8)));
            out[x] = transparent ? qRgba(0, 0, 0, 0) : (out[x] | 0xff000000u);
        }
    }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

auto rank(const IconImageRef& r, int size) {
    const bool exact = r.width == size && r.height == size;
    const int distance = std::abs(r.width - size) + std::abs(r.height - size);
    const bool smaller = r.width < size || r.height < size;
    return std::make_tuple(exact ? 0 : 1, distance, smaller ? 1 : 0, -r.bitCount);
}

} // namespace

int imageBitCount(ByteView data, int declaredBits, int colourCount) {
    if (isPng(data))
        return 32;
    if (data.u32(0) >= 40 && data.u16(14) != 0)
        return data.u16(14);
    if (declaredBits)
        return declaredBits;
    return colourCount == 2 ? 1 : colourCount == 16 ? 4 : 8;
}

QList<IconImageRef> readIcoDirectory(ByteView file) {
    QList<IconImageRef> out;
    if (!file.has(0, 6) || file.u16(0) != 0 || file.u16(2) != 1)
        return out;
    const int count = file.u16(4);
    for (int i = 0; i < count; ++i) {
        const qint64 at = 6 + qint64(i) * 16;
        if (!file.has(at, 16))
            break;
        IconImageRef ref;
        ref.width = file.u8(at) ? file.u8(at) : 256;
        ref.height = file.u8(at + 1) ? file.u8(at + 1) : 256;
        ref.data = file.sub(file.u32(at + 12), file.u32(at + 8));
        if (ref.data.isEmpty())
            continue;
        ref.bitCount = imageBitCount(ref.data, file.u16(at + 6), file.u8(at + 2));
        out.append(ref);
    }
    return out;
}

QImage decodeIconImage(ByteView data) {
    return isPng(data) ? decodePng(data) : decodeDib(data);
}

QImage iconImageForSize(const QList<IconImageRef>& images, int size) {
    if (size <= 0 || size > kMaxIconSide)
        return {};
    // Best first; a damaged image gives way to the next best rather than to no icon at all.
    QList<int> order(images.size());
    for (int i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return rank(images[a], size) < rank(images[b], size); });
    for (int i : order) {
        QImage image = decodeIconImage(images[i].data);
        if (image.isNull())
            continue;
        if (image.width() != size || image.height() != size)
            image = image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    return {};
}

} // namespace orvanex::platform
