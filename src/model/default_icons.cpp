#include "model/default_icons.h"

#include <QPainter>
#include <QPainterPath>

namespace orvanex::model {

namespace {

const QColor kOutline(40, 40, 40);

void page(QPainter& p, const QColor& fill) {
    QPainterPath path;
    path.moveTo(6, 2);
    path.lineTo(20, 2);
    path.lineTo(27, 9);
    path.lineTo(27, 30);
    path.lineTo(6, 30);
    path.closeSubpath();
    p.setPen(QPen(kOutline, 1));
    p.setBrush(fill);
    p.drawPath(path);
    p.drawLine(20, 2, 20, 9);
    p.drawLine(20, 9, 27, 9);
}

// Marks drawn in one pen.
void strokes(QPainter& p, const QPen& pen, std::initializer_list<QLine> marks) {
    p.setPen(pen);
    for (const QLine& line : marks)
        p.drawLine(line);
}

void lines(QPainter& p, const QColor& c, int top, int count) {
    p.setPen(QPen(c, 1));
    for (int i = 0; i < count; ++i)
        p.drawLine(9, top + 3 * i, 24, top + 3 * i);
}

void drawShape(QPainter& p, const IconDesign& d) {
    const QColor c = QColor::fromRgb(d.colour);
    p.setPen(QPen(kOutline, 1));
    switch (d.shape) {
    case IconShape::Document:
        page(p, Qt::white);
        p.fillRect(9, 12, 15, 12, c);
        break;
    case IconShape::TextDocument:
        page(p, Qt::white);
        lines(p, c, 12, 6);
        break;
    case IconShape::Folder:
        p.setBrush(c.darker(120));
        p.drawRect(2, 7, 12, 5);
        p.setBrush(c);
        p.drawRect(2, 10, 28, 18);
        break;
    case IconShape::Program:
        p.setBrush(QColor(192, 192, 192));
        p.drawRect(2, 4, 28, 24);
        p.fillRect(3, 5, 27, 5, c);
        p.fillRect(5, 13, 22, 13, Qt::white);
        break;
    case IconShape::Picture:
        p.setBrush(Qt::white);
        p.drawRect(2, 5, 28, 22);
        p.setBrush(QColor(120, 190, 255));
        p.drawRect(5, 8, 22, 16);
        p.setBrush(c);
        p.drawPolygon(QPolygon(
            {QPoint(5, 24), QPoint(13, 13), QPoint(19, 20), QPoint(22, 16), QPoint(27, 24)}));
        p.setBrush(Qt::yellow);
        p.drawEllipse(20, 9, 4, 4);
        break;
    case IconShape::Note:
        p.setBrush(c);
        p.drawEllipse(5, 21, 9, 7);
        p.drawEllipse(18, 18, 9, 7);
        strokes(p, QPen(c, 3), {{13, 24, 13, 5}, {26, 21, 26, 3}, {13, 5, 26, 3}});
        break;
    case IconShape::Film:
        p.setBrush(QColor(30, 30, 30));
        p.drawRect(4, 2, 24, 28);
        p.fillRect(9, 6, 14, 9, c);
        p.fillRect(9, 17, 14, 9, c.lighter(130));
        for (int y = 4; y < 30; y += 4) {
            p.fillRect(5, y, 2, 2, Qt::white);
            p.fillRect(25, y, 2, 2, Qt::white);
        }
        break;
    case IconShape::Archive:
        p.setBrush(c);
        p.drawRect(4, 10, 24, 19);
        p.setBrush(c.lighter(140));
        p.drawRect(2, 5, 28, 6);
        p.fillRect(14, 11, 4, 18, QColor(60, 60, 60));
        break;
    case IconShape::Gear:
        p.setBrush(c);
        for (int a = 0; a < 360; a += 45) {
            p.save();
            p.translate(16, 16);
            p.rotate(a);
            p.drawRect(-3, -15, 6, 6);
            p.restore();
        }
        p.drawEllipse(5, 5, 22, 22);
        p.setBrush(Qt::white);
        p.drawEllipse(12, 12, 8, 8);
        break;
    case IconShape::Globe:
        p.setBrush(QColor(70, 130, 220));
        p.drawEllipse(2, 2, 28, 28);
        p.setBrush(c);
        p.drawEllipse(8, 6, 10, 8);
        p.drawEllipse(15, 16, 10, 9);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(9, 2, 14, 28);
        p.drawLine(2, 16, 30, 16);
        break;
    case IconShape::Book:
        p.setBrush(c);
        p.drawRect(5, 3, 22, 26);
        p.fillRect(8, 6, 16, 4, Qt::white);
        strokes(p, QPen(Qt::white, 2), {{7, 27, 27, 27}});
        break;
    case IconShape::Disk:
        p.setBrush(c);
        p.drawRect(3, 3, 26, 26);
        p.fillRect(9, 4, 14, 9, QColor(200, 200, 200));
        p.fillRect(7, 17, 18, 11, Qt::white);
        break;
    case IconShape::Script:
        p.setBrush(QColor(0, 0, 0));
        p.drawRect(2, 4, 28, 24);
        strokes(p, QPen(c, 2), {{6, 10, 11, 14}, {11, 14, 6, 18}, {13, 19, 22, 19}});
        break;
    case IconShape::Chip:
        p.setBrush(c);
        p.drawRect(7, 7, 18, 18);
        p.setPen(QPen(kOutline, 2));
        for (int i = 9; i <= 23; i += 4) {
            p.drawLine(i, 2, i, 6);
            p.drawLine(i, 26, i, 30);
            p.drawLine(2, i, 6, i);
            p.drawLine(26, i, 30, i);
        }
        break;
    case IconShape::Shortcut:
        p.setBrush(Qt::white);
        p.drawRect(2, 16, 14, 14);
        strokes(p, QPen(c, 3), {{5, 27, 13, 19}, {8, 19, 13, 19}, {13, 19, 13, 24}});
        break;
    case IconShape::Sheet:
        page(p, Qt::white);
        p.setPen(QPen(c, 1));
        for (int y = 12; y <= 27; y += 3)
            p.drawLine(9, y, 24, y);
        for (int x = 9; x <= 24; x += 5)
            p.drawLine(x, 12, x, 27);
        break;
    }
}

QList<IconDesign> series(const QList<IconShape>& shapes, int count, unsigned seed) {
    QList<IconDesign> out;
    for (int i = 0; i < count; ++i) {
        const QColor c = QColor::fromHsv(int((seed + unsigned(i) * 47u) % 360u), 170, 210);
        out.append({shapes[i % shapes.size()], unsigned(c.rgb() & 0xFFFFFFu)});
    }
    return out;
}

// The shell library's 40 icons; the indices the default types name get fitting pictures.
QList<IconDesign> shellIcons() {
    using S = IconShape;
    QList<IconDesign> icons =
        series({S::Document, S::Folder, S::Disk, S::Globe, S::Gear, S::Book, S::Chip}, 40, 20);
    icons[0] = {S::Document, 0xC0C0C0};
    icons[1] = {S::TextDocument, 0x000080};
    icons[2] = {S::Chip, 0x008080};
    icons[3] = {S::Folder, 0xFFD860};
    icons[6] = {S::Disk, 0x505050};
    icons[11] = {S::Document, 0xFFFF80};
    icons[13] = {S::Picture, 0x208020};
    icons[21] = {S::Gear, 0x808080};
    icons[22] = {S::Book, 0x2060A0};
    icons[25] = {S::Script, 0x00FF00};
    icons[29] = {S::Shortcut, 0x0000C0};
    icons[30] = {S::Archive, 0xA06020};
    icons[31] = {S::Archive, 0x4040A0};
    icons[34] = {S::Picture, 0x8040C0};
    return icons;
}

} // namespace

QImage drawIconImage(const IconDesign& design) {
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    drawShape(p, design);
    p.end();
    return image;
}

QList<DefaultIconFile> defaultIconFiles() {
    using S = IconShape;
    const QString sys = QStringLiteral("C:\\WINDOWS\\SYSTEM\\");
    const QString win = QStringLiteral("C:\\WINDOWS\\");
    return {
        {sys + QStringLiteral("shell32.dll"), shellIcons()},
        {sys + QStringLiteral("PIFMGR.DLL"),
         series({S::Program, S::Script, S::Disk, S::Globe, S::Chip}, 8, 200)},
        {sys + QStringLiteral("URL.DLL"), {{S::Globe, 0x30A030}, {S::Picture, 0xC06000}}},
        {sys + QStringLiteral("MMSYS.CPL"),
         series({S::Note, S::Film, S::Gear, S::Disk, S::Note, S::Chip}, 6, 100)},
        {win + QStringLiteral("NOTEPAD.EXE"), {{S::TextDocument, 0x0000A0}}},
        {win + QStringLiteral("PBRUSH.EXE"), {{S::Picture, 0xC02020}}},
        {win + QStringLiteral("WRITE.EXE"), {{S::Document, 0x2040C0}}},
        {win + QStringLiteral("WINHLP32.EXE"), {{S::Book, 0x800080}, {S::Book, 0xFFFF00}}},
        {win + QStringLiteral("REGEDIT.EXE"), {{S::Program, 0x0060C0}, {S::Gear, 0x00A0A0}}},
        {win + QStringLiteral("SNDREC32.EXE"), {{S::Note, 0x006000}}},
        {win + QStringLiteral("MPLAYER.EXE"),
         {{S::Program, 0x800000}, {S::Film, 0xC08000}, {S::Note, 0x2020C0}, {S::Note, 0xC02020}}},
        {win + QStringLiteral("MORICONS.DLL"),
         {{S::Program, 0x404040},
          {S::Document, 0x2050B0},
          {S::Sheet, 0x20A040},
          {S::Picture, 0xE06020},
          {S::Disk, 0xA02060},
          {S::Book, 0x6060C0},
          {S::Document, 0x008080},
          {S::Picture, 0x4080FF},
          {S::Sheet, 0x806000},
          {S::Sheet, 0x0040A0},
          {S::Document, 0xC00000},
          {S::Book, 0xA0A000}}},
        {QStringLiteral("C:\\PROGRAM FILES\\ACCESSORIES\\WORDPAD.EXE"),
         {{S::Program, 0x2060A0}, {S::Document, 0x2060A0}, {S::TextDocument, 0xA02060}}},
        {win + QStringLiteral("ICONS\\font.ico"), {{S::Book, 0x606060}}},
        {win + QStringLiteral("ICONS\\archive.ico"), {{S::Archive, 0xB08040}}},
    };
}

} // namespace orvanex::model
