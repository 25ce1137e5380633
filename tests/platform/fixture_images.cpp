#include "fixture_images.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QtEndian>

namespace orvanex::test {

namespace {

void put16(QByteArray& b, int v) {
    b.append(char(v & 0xff)).append(char((v >> 8) & 0xff));
}
void put32(QByteArray& b, quint32 v) {
    put16(b, int(v & 0xffff));
    put16(b, int(v >> 16));
}

bool transparentAt(int x, int y, int w, int h) {
    return x < w / 2 && y < h / 2;
}
bool whiteAt(int x, int y, int w, int h) {
    return x == w - 1 && y == h - 1;
}

QByteArray makePng(int w, int h, const QColor& c) {
    QImage image(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y,
                           transparentAt(x, y, w, h) ? qRgba(0, 0, 0, 0)
                           : whiteAt(x, y, w, h)     ? qRgb(255, 255, 255)
                                                     : c.rgb());
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

QByteArray makeImage(int w, int h, int bits, const QColor& c) {
    if (bits == 0)
        return makePng(w, h, c);
    QByteArray b;
    put32(b, 40);
    put32(b, quint32(w));
    put32(b, quint32(h * 2));
    put16(b, 1);
    put16(b, bits);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    if (bits <= 8) {
        // Palette: 0 black, 1 the colour, 2 white; the rest grey.
        for (int i = 0; i < (1 << bits); ++i) {
            const QColor p = i == 0   ? QColor(Qt::black)
                             : i == 1 ? c
                             : i == 2 ? QColor(Qt::white)
                                      : QColor(128, 128, 128);
            b.append(char(p.blue())).append(char(p.green())).append(char(p.red())).append('\0');
        }
    }
    const int stride = ((w * bits + 31) / 32) * 4;
    const int maskStride = ((w + 31) / 32) * 4;
    // Rows bottom-up, as in every icon file.
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(stride, '\0');
        for (int x = 0; x < w; ++x) {
            const bool hole = transparentAt(x, y, w, h);
            const QColor p = whiteAt(x, y, w, h) ? QColor(Qt::white) : c;
            switch (bits) {
            case 1: // white is not in a two-colour palette: that pixel stays black
                if (!hole && p == c)
                    row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
                break;
            case 4:
            case 8: {
                const int index = hole ? 0 : p == c ? 1 : 2;
                const int shift = 8 - bits - (x * bits) % 8;
                row[x * bits / 8] = char(row[x * bits / 8] | (index << shift));
                break;
            }
            case 16: {
                const int v = ((p.red() >> 3) << 10) | ((p.green() >> 3) << 5) | (p.blue() >> 3);
                row[x * 2] = char(v & 0xff);
                row[x * 2 + 1] = char(v >> 8);
                break;
            }
            case 24:
                row[x * 3] = char(p.blue());
                row[x * 3 + 1] = char(p.green());
                row[x * 3 + 2] = char(p.red());
                break;
            default: // 32 with alpha: transparent holes, and half alpha at the top-right pixel
                row[x * 4] = char(hole ? 0 : p.blue());
                row[x * 4 + 1] = char(hole ? 0 : p.green());
                row[x * 4 + 2] = char(hole ? 0 : p.red());
                row[x * 4 + 3] = char(hole ? 0 : (x == w - 1 && y == 0) ? 128 : 255);
            }
        }
        b.append(row);
    }
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(maskStride, '\0');
        for (int x = 0; x < w; ++x)
            if (transparentAt(x, y, w, h))
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        b.append(row);
    }
    return b;
}

TestImage image(int width, int height, int bits, const QColor& colour) {
    return TestImage{width, height, bits, colour, makeImage(width, height, bits, colour)};
}

QByteArray makeIco(const QList<TestImage>& images) {
    QByteArray b;
    put16(b, 0);
    put16(b, 1);
    put16(b, int(images.size()));
    quint32 offset = 6 + 16 * quint32(images.size());
    for (const TestImage& i : images) {
        b.append(char(i.width & 0xff)).append(char(i.height & 0xff));
        b.append(char(i.bits && i.bits < 8 ? 1 << i.bits : 0)).append('\0');
        put16(b, 1);
        put16(b, i.bits ? i.bits : 32);
        put32(b, quint32(i.data.size()));
        put32(b, offset);
        offset += quint32(i.data.size());
    }
    for (const TestImage& i : images)
        b.append(i.data);
    return b;
}

QByteArray makeIconGroup(const QList<TestImage>& images, int firstId) {
    QByteArray b;
    put16(b, 0);
    put16(b, 1);
    put16(b, int(images.size()));
    int id = firstId;
    for (const TestImage& i : images) {
        b.append(char(i.width & 0xff)).append(char(i.height & 0xff));
        b.append(char(i.bits && i.bits < 8 ? 1 << i.bits : 0)).append('\0');
        put16(b, 1);
        put16(b, i.bits ? i.bits : 32);
        put32(b, quint32(i.data.size()));
        put16(b, id++);
    }
    return b;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace orvanex::test
