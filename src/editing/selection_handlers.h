#pragma once
// Selection in the main window: the two select-by buttons, header-click sorting, showing the
// entry of a clicked row or on Enter, and locating by letter.

#include <QObject>
#include <QString>

class QTableView;
class QComboBox;

namespace orvanex {
struct MainContext;
}

namespace orvanex::editing {

class SelectionHandlers : public QObject {
    Q_OBJECT
public:
    explicit SelectionHandlers(MainContext& ctx, QObject* parent);

    void cmdSelectByFileExtension_Click();
    void cmdSelectByFileType_Click();
    // Row is the grid row (0 = the header row), as the grid reports a mouse-down.
    void flex1_MouseDown(int row, int col);
    void flex2_MouseDown(int row, int col);
    void flex1_KeyDown(int keyCode);
    void flex2_KeyDown(int keyCode);
    void Combo1_Click();
    void Combo2_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void selectionSwitched();
    void gridMouseDown(QTableView* grid, int row, int col, bool fileTypes);
    void showCurrent(QTableView* grid, int tableRow, int col, bool fileTypes);
    void locate(QTableView* grid, QComboBox* box);
    static bool isRowMove(int key);
    bool moveByKey(QTableView* grid, QEvent* event);

    MainContext& m_ctx;
};

// The locate search on a grid: the table row to bring to the top for item, or -1 for an empty
// grid (FindLocateRow in the grid's 1-based rows, less one).
int FindLocateRow(const QTableView* grid, const QString& item);

} // namespace orvanex::editing
