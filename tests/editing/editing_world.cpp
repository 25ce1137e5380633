#include "editing_world.h"

#include "editing/grid_view.h"
#include "editing/list_loader.h"
#include "model/default_icons.h"
#include "model/icon_file_writer.h"
#include "registry/reg_state.h"
#include "support/test_env.h"
#include "ui_main_window.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace orvanex::test {

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

QImage icon(model::IconShape shape, unsigned colour) {
    return model::drawIconImage({shape, colour});
}

} // namespace

EditingWorld::EditingWorld(const QString& name) : m_dir(freshDir(name)) {
    m_registry = reg::Registry::openHive(m_dir + QStringLiteral("/test.hive"));
    writeFile(driveC() + QStringLiteral("/WINDOWS/SYSTEM/icons.dll"),
              model::peIconLibraryBytes({icon(model::IconShape::Document, 0x2060C0),
                                         icon(model::IconShape::TextDocument, 0xFFFFFF),
                                         icon(model::IconShape::Folder, 0xE0C040)},
                                        true));
    writeFile(driveC() + QStringLiteral("/ICONS/pic.ico"),
              model::icoFileBytes({icon(model::IconShape::Picture, 0x40A040)}));
}

EditingWorld::~EditingWorld() {
    if (m_window)
        m_window->close();
    m_window.reset();
}

void EditingWorld::write(const QString& keyPath, const QString& valueName, const QString& text) {
    reg::RegState state;
    state.registry = m_registry.get();
    ASSERT_EQ(reg::WriteText(state, keyPath, valueName, text), 0) << keyPath.toStdString();
}

void EditingWorld::addType(const TypeKeys& type) {
    for (const QString& ext : type.extensions)
        write(ext, QString(), type.typeName);
    if (!type.description.isEmpty())
        write(type.typeName, QString(), type.description);
    if (!type.defaultIcon.isEmpty())
        write(type.typeName + QStringLiteral("\\DefaultIcon"), QString(), type.defaultIcon);
}

// Icon cases: a DLL named without a folder, the % placeholder, an index beyond the count, a
// missing file, an ICO file; wildcard and protected entries; a lower-case description.
void EditingWorld::addStandardTypes() {
    addType({"txtfile", "Text Document", {".txt", ".log"}, "icons.dll,1"});
    write("txtfile", "AlwaysShowExt", "*");
    write("txtfile\\QuickView", QString(), "*");
    write("txtfile\\Shell", QString(), "open");
    write("txtfile\\Shell\\open\\command", QString(), "C:\\WINDOWS\\NOTEPAD.EXE %1");
    write("txtfile\\Shell\\print", QString(), "&Print");
    write("txtfile\\Shell\\print\\command", QString(), "C:\\WINDOWS\\NOTEPAD.EXE /p %1");
    write("txtfile\\Shell\\print\\ddeexec", QString(), "[print(\"%1\")]");
    write("txtfile\\Shell\\print\\ddeexec\\application", QString(), "notepad");
    write("txtfile\\Shell\\print\\ddeexec\\topic", QString(), "System");
    write(".txt", "Content Type", "text/plain");
    addType({"docfile", "Document Placeholder", {".doc", ".dot"}, "%1"});
    addType({"bigfile", "Big Index", {".big"}, "C:\\WINDOWS\\SYSTEM\\icons.dll,7"});
    addType({"gonefile", "Gone Icon", {".gon"}, "C:\\WINDOWS\\missing.dll,0"});
    addType({"picfile", "Picture Icon", {".pic"}, "C:\\ICONS\\pic.ico"});
    addType({"exefile", "Application", {".exe"}, "%1"});
    addType({"abcfile", "abc lower", {".abc"}, QString()});
    write("*", QString(), QString());
    write("*\\DefaultIcon", QString(), "icons.dll,0");
    write("Unknown\\Shell\\openas\\command", QString(), "C:\\WINDOWS\\rundll.exe OpenAs %1");
}

MainWindow& EditingWorld::start() {
    m_window = std::make_unique<MainWindow>(m_registry.get());
    m_window->setStartupLoader(editing::makeFileTypeLoader());
    m_window->setUpdatesEnabled(false);
    m_window->Form_Load();
    m_window->show();
    m_window->setUpdatesEnabled(true);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->Timer1_Timer();
    return *m_window;
}

QStringList column(const QTableView* grid, int col) {
    return editing::columnTexts(grid, col);
}

QString cell(const QTableView* grid, int tableRow, int col) {
    return grid->model()->index(tableRow, col).data().toString();
}

QColor cellColour(const QTableView* grid, int tableRow, int col) {
    const QVariant v = grid->model()->index(tableRow, col).data(Qt::ForegroundRole);
    return v.isValid() ? v.value<QBrush>().color() : QColor();
}

QString header(const QTableView* grid, int col) {
    return grid->model()->headerData(col, Qt::Horizontal).toString();
}

int rowCount(const QTableView* grid) {
    return grid->model()->rowCount();
}

int tableRowOf(const QTableView* grid, int col, const QString& text) {
    return static_cast<int>(column(grid, col).indexOf(text));
}

void pressCell(QTableView* grid, int tableRow, int col) {
    const QModelIndex index = grid->model()->index(tableRow, col);
    grid->scrollTo(index);
    const QRect rect = grid->visualRect(index);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, rect.center());
}

void pressHeader(QTableView* grid, int col) {
    QHeaderView* header = grid->horizontalHeader();
    const int x = header->sectionViewportPosition(col) + header->sectionSize(col) / 2;
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
}

void pressRowText(QTableView* grid, const QString& text, int col) {
    const int row = tableRowOf(grid, 0, text);
    ASSERT_GE(row, 0) << text.toStdString();
    pressCell(grid, row, col);
}

} // namespace orvanex::test
