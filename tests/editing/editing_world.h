#pragma once
// A main window on a hive built by the test: extension and type keys, icon files under drive C:
// and the loading run as the start-up runs it.

#include "app/main_window.h"
#include "registry/registry.h"

#include <QStringList>
#include <memory>

class QTableView;
class QColor;

namespace orvanex::test {

// One type of the hive: extensions, description, DefaultIcon ("" for none).
struct TypeKeys {
    QString typeName;
    QString description;
    QStringList extensions; // with their dots
    QString defaultIcon;
};

class EditingWorld {
public:
    // A hive in a fresh folder; icons.dll (3 icons) in C:\WINDOWS\SYSTEM and C:\ICONS\pic.ico.
    explicit EditingWorld(const QString& name);
    ~EditingWorld();

    reg::Registry& registry() { return *m_registry; }
    void write(const QString& keyPath, const QString& valueName, const QString& text);
    void addType(const TypeKeys& type);
    // The standard set used by most tests (see editing_world.cpp).
    void addStandardTypes();

    // Builds the window, runs the load handler, shows it and runs the timer's work.
    MainWindow& start();
    MainWindow& window() { return *m_window; }
    MainContext& ctx() { return m_window->context(); }

    QString driveC() const { return m_dir + QStringLiteral("/drive_c"); }

private:
    QString m_dir;
    std::unique_ptr<reg::Registry> m_registry;
    std::unique_ptr<MainWindow> m_window;
};

// Grid helpers, read through the model as the view reads it; rows count from 0.
QStringList column(const QTableView* grid, int col);
QString cell(const QTableView* grid, int tableRow, int col);
QColor cellColour(const QTableView* grid, int tableRow, int col); // invalid: the view's own
QString header(const QTableView* grid, int col);
int rowCount(const QTableView* grid);
int tableRowOf(const QTableView* grid, int col, const QString& text); // -1 when absent
// A real mouse press on a data cell (table row) or on a header section.
void pressCell(QTableView* grid, int tableRow, int col);
void pressHeader(QTableView* grid, int col);
// Shows the row whose column-0 text is text by pressing its cell in column col.
void pressRowText(QTableView* grid, const QString& text, int col = 0);

} // namespace orvanex::test
