#pragma once
// The icon files of the default registry: what each holds and how its icons are drawn.

#include <QImage>
#include <QList>
#include <QString>

namespace orvanex::model {

enum class IconShape {
    Document,
    TextDocument,
    Folder,
    Program,
    Picture,
    Note,
    Film,
    Archive,
    Gear,
    Globe,
    Book,
    Disk,
    Script,
    Chip,
    Shortcut,
    Sheet,
};

struct IconDesign {
    IconShape shape;
    unsigned colour; // 0xRRGGBB
};

// A 32 x 32 icon with transparency.
QImage drawIconImage(const IconDesign& design);

struct DefaultIconFile {
    QString windowsPath; // "C:\WINDOWS\SYSTEM\shell32.dll"
    QList<IconDesign> icons;
};
// Every file the default registry's DefaultIcon values name, with its icons in index order.
QList<DefaultIconFile> defaultIconFiles();

} // namespace orvanex::model
