#pragma once
// A registry in memory with short-hands for building and inspecting classes in tests.

#include "model/grid_rows.h"
#include "platform/drive_map.h"
#include "registry/reg_state.h"

#include <QImage>
#include <QList>
#include <memory>
#include <ostream>

// Readable QString values in test failures.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace orvanex::test {

struct TestHive {
    TestHive();
    std::unique_ptr<reg::Registry> registry;
    reg::RegState state;

    // Writes a REG_SZ (the key and its parents are created).
    void set(const QString& key, const QString& value, const QString& name = QString());
    void setDword(const QString& key, const QString& name, std::uint32_t value);
    void setBinary(const QString& key, const QString& name, const QByteArray& value);
    void key(const QString& path);
    bool exists(const QString& path);
    // The stored text (without terminator), or "<absent>".
    QString value(const QString& path, const QString& name = QString());
    // An extension key naming a type, and the type with its description.
    void extension(const QString& keyName, const QString& typeName);
    void type(const QString& typeName, const QString& description);
};

// A drive C: in a fresh folder, with helpers to place icon files on it.
struct TestDrive {
    explicit TestDrive(const QString& name);
    QString root;
    platform::DriveMap drives;
    // Writes a PE library (or program, by extension) with `count` icons at a Windows path.
    void iconLibrary(const QString& windowsPath, int count);
    void icoFile(const QString& windowsPath);
    void plainFile(const QString& windowsPath, const QByteArray& bytes = "x");
};

QImage sampleIcon(int n);

// Column `column` of each row (of each special row only, with specialOnly), in grid order.
QStringList rowCells(const QList<model::IndexRow>& rows, int column, bool specialOnly = false);
// Each row's whole text, in grid order.
QStringList rowTexts(const QList<model::IndexRow>& rows);

} // namespace orvanex::test
