#include "model_test_hive.h"

#include "model/icon_file_writer.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <gtest/gtest.h>

namespace orvanex::test {

TestHive::TestHive() : registry(reg::Registry::inMemory()) {
    state.registry = registry.get();
}

void TestHive::set(const QString& key, const QString& value, const QString& name) {
    ASSERT_EQ(reg::WriteText(state, key, name, value), 0) << key.toStdString();
}

void TestHive::setDword(const QString& key, const QString& name, std::uint32_t value) {
    this->key(key);
    reg::HKey k = 0;
    ASSERT_EQ(registry->openKeyEx(reg::HKEY_CLASSES_ROOT, key, 0, reg::KEY_ALL_USED, &k), 0);
    ASSERT_EQ(
        registry->setValueEx(k, name, reg::type::Dword, reinterpret_cast<const char*>(&value), 4),
        0);
    registry->closeKey(k);
}

void TestHive::setBinary(const QString& key, const QString& name, const QByteArray& value) {
    this->key(key);
    reg::HKey k = 0;
    ASSERT_EQ(registry->openKeyEx(reg::HKEY_CLASSES_ROOT, key, 0, reg::KEY_ALL_USED, &k), 0);
    ASSERT_EQ(registry->setValueEx(k, name, reg::type::Binary, value.constData(),
                                   std::uint32_t(value.size())),
              0);
    registry->closeKey(k);
}

void TestHive::key(const QString& path) {
    ASSERT_EQ(reg::CreateKeyChain(state, {path}), 0) << path.toStdString();
}

bool TestHive::exists(const QString& path) {
    reg::HKey k = 0;
    if (registry->openKeyEx(reg::HKEY_CLASSES_ROOT, path, 0, reg::KEY_ALL_USED, &k) != 0)
        return false;
    registry->closeKey(k);
    return true;
}

QString TestHive::value(const QString& path, const QString& name) {
    reg::RegValue v;
    if (reg::ReadValue(state, path, name, v) != 0)
        return QStringLiteral("<absent>");
    if (const QString* s = std::get_if<QString>(&v))
        return s->endsWith(QChar(0)) ? s->chopped(1) : *s;
    return QStringLiteral("<number>");
}

void TestHive::extension(const QString& keyName, const QString& typeName) {
    if (typeName.isEmpty())
        key(keyName);
    else
        set(keyName, typeName);
}

void TestHive::type(const QString& typeName, const QString& description) {
    if (description.isEmpty())
        key(typeName);
    else
        set(typeName, description);
}

QImage sampleIcon(int n) {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.fillRect(4, 4, 24, 24, QColor::fromHsv((n * 40) % 360, 200, 220));
    return image;
}

TestDrive::TestDrive(const QString& name) : root(freshDir(name)) {
    drives.setDrive(u'C', root);
}

static void writeAt(const QString& native, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(native).absolutePath());
    QFile f(native);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << native.toStdString();
    f.write(bytes);
}

void TestDrive::iconLibrary(const QString& windowsPath, int count) {
    QList<QImage> icons;
    for (int i = 0; i < count; ++i)
        icons.append(sampleIcon(i));
    writeAt(drives.toNative(windowsPath),
            model::peIconLibraryBytes(
                icons, !windowsPath.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive)));
}

void TestDrive::icoFile(const QString& windowsPath) {
    writeAt(drives.toNative(windowsPath), model::icoFileBytes({sampleIcon(7)}));
}

void TestDrive::plainFile(const QString& windowsPath, const QByteArray& bytes) {
    writeAt(drives.toNative(windowsPath), bytes);
}

QStringList rowCells(const QList<model::IndexRow>& rows, int column, bool specialOnly) {
    QStringList out;
    for (const model::IndexRow& r : rows)
        if (r.special || !specialOnly)
            out.append(model::indexCellText(r, column));
    return out;
}

QStringList rowTexts(const QList<model::IndexRow>& rows) {
    QStringList out;
    for (const model::IndexRow& r : rows)
        out.append(r.text());
    return out;
}

} // namespace orvanex::test
