#include "model/icon_file_writer.h"

#include <QtEndian>

namespace orvanex::model {

namespace {

// Little-endian appenders and patchers.
void put16(QByteArray& b, quint16 v) {
    char raw[2];
    qToLittleEndian(v, raw);
    b.append(raw, 2);
}
void put32(QByteArray& b, quint32 v) {
    char raw[4];
    qToLittleEndian(v, raw);
    b.append(raw, 4);
}
void set32(QByteArray& b, qsizetype at, quint32 v) {
    qToLittleEndian(v, b.data() + at);
}
void padTo(QByteArray& b, qsizetype alignment) {
    while (b.size() % alignment)
        b.append('\0');
}

quint8 dimensionByte(int n) {
    return n >= 256 ? 0 : quint8(n);
}

constexpr quint32 kResourceIcon = 3;
constexpr quint32 kResourceGroupIcon = 14;
constexpr quint16 kLanguage = 0x409;

} // namespace

QByteArray iconDib(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width();
    const int h = image.height();
    const int maskStride = ((w + 31) / 32) * 4;
    QByteArray dib;
    put32(dib, 40);
    put32(dib, quint32(w));
    put32(dib, quint32(h * 2)); // colour and mask stacked
    put16(dib, 1);
    put16(dib, 32);
    put32(dib, 0);
    put32(dib, quint32(w * h * 4 + maskStride * h));
    for (int i = 0; i < 4; ++i)
        put32(dib, 0);
    for (int y = h - 1; y >= 0; --y) { // bottom-up
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb p = line[x];
            dib.append(char(qBlue(p))).append(char(qGreen(p))).append(char(qRed(p)));
            dib.append(char(qAlpha(p)));
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(maskStride, '\0');
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x)
            if (qAlpha(line[x]) == 0)
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        dib.append(row);
    }
    return dib;
}

QByteArray icoFileBytes(const QList<QImage>& images) {
    QList<QByteArray> dibs;
    for (const QImage& image : images)
        dibs.append(iconDib(image));
    QByteArray out;
    put16(out, 0);
    put16(out, 1);
    put16(out, quint16(images.size()));
    quint32 offset = quint32(6 + 16 * images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        out.append(char(dimensionByte(images[i].width())));
        out.append(char(dimensionByte(images[i].height())));
        out.append('\0').append('\0');
        put16(out, 1);
        put16(out, 32);
        put32(out, quint32(dibs[i].size()));
        put32(out, offset);
        offset += quint32(dibs[i].size());
    }
    for (const QByteArray& dib : dibs)
        out.append(dib);
    return out;
}

namespace {

// The .rsrc section: root -> {RT_ICON, RT_GROUP_ICON} -> ids 1..n -> language -> data entry.
QByteArray resourceSection(const QList<QImage>& icons, quint32 sectionRva) {
    const quint32 n = quint32(icons.size());
    QList<QByteArray> iconData;
    QList<QByteArray> groupData;
    for (quint32 i = 0; i < n; ++i) {
        iconData.append(iconDib(icons[i]));
        QByteArray g;
        put16(g, 0);
        put16(g, 1);
        put16(g, 1);
        g.append(char(dimensionByte(icons[i].width())));
        g.append(char(dimensionByte(icons[i].height())));
        g.append('\0').append('\0');
        put16(g, 1);
        put16(g, 32);
        put32(g, quint32(iconData.last().size()));
        put16(g, quint16(i + 1));
        groupData.append(g);
    }
    // Layout: root dir, two type dirs, 2n language dirs, 2n data entries, then the data.
    const quint32 dirHeader = 16;
    const quint32 rootSize = dirHeader + 2 * 8;
    const quint32 typeSize = dirHeader + n * 8;
    const quint32 langSize = dirHeader + 8;
    const quint32 typeIcon = rootSize;
    const quint32 typeGroup = typeIcon + typeSize;
    const quint32 langStart = typeGroup + typeSize;
    const quint32 entryStart = langStart + 2 * n * langSize;
    const quint32 dataStart = entryStart + 2 * n * 16;

    auto directory = [](QByteArray& b, quint32 entries) {
        for (int i = 0; i < 6; ++i)
            put16(b, 0); // characteristics, time stamp, major and minor version
        put16(b, 0);
        put16(b, quint16(entries));
    };
    QByteArray s;
    directory(s, 2);
    put32(s, kResourceIcon);
    put32(s, 0x80000000u | typeIcon);
    put32(s, kResourceGroupIcon);
    put32(s, 0x80000000u | typeGroup);
    for (quint32 t = 0; t < 2; ++t) {
        directory(s, n);
        for (quint32 i = 0; i < n; ++i) {
            put32(s, i + 1);
            put32(s, 0x80000000u | (langStart + (t * n + i) * langSize));
        }
    }
    for (quint32 k = 0; k < 2 * n; ++k) {
        directory(s, 1);
        put32(s, kLanguage);
        put32(s, entryStart + k * 16);
    }
    const qsizetype entriesAt = s.size();
    for (quint32 k = 0; k < 2 * n; ++k)
        for (int i = 0; i < 4; ++i)
            put32(s, 0);
    Q_ASSERT(s.size() == qsizetype(dataStart));
    for (quint32 k = 0; k < 2 * n; ++k) {
        padTo(s, 8);
        const QByteArray& data = k < n ? iconData[k] : groupData[k - n];
        set32(s, entriesAt + k * 16, sectionRva + quint32(s.size()));
        set32(s, entriesAt + k * 16 + 4, quint32(data.size()));
        s.append(data);
    }
    return s;
}

quint32 alignUp(quint32 v, quint32 a) {
    return (v + a - 1) / a * a;
}

} // namespace

QByteArray peIconLibraryBytes(const QList<QImage>& icons, bool isDll) {
    constexpr quint32 kFileAlign = 0x200;
    constexpr quint32 kSectionAlign = 0x1000;
    constexpr quint32 kRsrcRva = 0x1000;
    constexpr quint32 kPeOffset = 0x80;
    QByteArray rsrc = resourceSection(icons, kRsrcRva);
    const quint32 rsrcSize = quint32(rsrc.size());
    padTo(rsrc, kFileAlign);

    QByteArray out(kPeOffset, '\0');
    out[0] = 'M';
    out[1] = 'Z';
    set32(out, 0x3C, kPeOffset);
    out.append("PE\0\0", 4);
    // File header.
    put16(out, 0x14C); // i386
    put16(out, 1);     // one section
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put16(out, 224); // optional header size
    put16(out, quint16(0x0102 | (isDll ? 0x2000 : 0)));
    // Optional header (PE32).
    put16(out, 0x10B);
    put16(out, 0);
    put32(out, 0);                    // code size
    put32(out, quint32(rsrc.size())); // initialised data
    put32(out, 0);
    put32(out, 0);        // entry point: none, resources only
    put32(out, kRsrcRva); // base of code
    put32(out, kRsrcRva); // base of data
    put32(out, 0x10000000);
    put32(out, kSectionAlign);
    put32(out, kFileAlign);
    put16(out, 4);
    put16(out, 0);
    put16(out, 0);
    put16(out, 0);
    put16(out, 4);
    put16(out, 0);
    put32(out, 0);
    put32(out, kRsrcRva + alignUp(rsrcSize, kSectionAlign)); // image size
    put32(out, kFileAlign);                                  // headers size
    put32(out, 0);
    put16(out, 2); // GUI
    put16(out, 0);
    put32(out, 0x100000);
    put32(out, 0x1000);
    put32(out, 0x100000);
    put32(out, 0x1000);
    put32(out, 0);
    put32(out, 16);
    for (quint32 d = 0; d < 16; ++d) {
        put32(out, d == 2 ? kRsrcRva : 0);
        put32(out, d == 2 ? rsrcSize : 0);
    }
    // The one section.
    out.append(".rsrc\0\0\0", 8);
    put32(out, rsrcSize);
    put32(out, kRsrcRva);
    put32(out, quint32(rsrc.size()));
    put32(out, kFileAlign);
    put32(out, 0);
    put32(out, 0);
    put16(out, 0);
    put16(out, 0);
    put32(out, 0x40000040); // initialised data, readable
    padTo(out, kFileAlign);
    out.append(rsrc);
    return out;
}

} // namespace orvanex::model
