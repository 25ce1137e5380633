#include "editing/selection_handlers.h"

#include "editing/detail_panel.h"
#include "editing/editing_session.h"
#include "editing/grid_view.h"
#include "editing/main_context.h"
#include "settings/twips_layout.h"
#include "ui_main_window.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMainWindow>
#include <QScrollBar>
#include <QShortcut>
#include <QTableView>

namespace orvanex::editing {

namespace {

constexpr int kKeyEnter = 13;

const QString kPleaseSelect = QStringLiteral("Please Select Option!");

// Sets the grid's current column without moving its row, as Col and ColSel do.
void setCurrentColumn(QTableView* grid, int col) {
    const int row = std::max(currentRow(grid), 0);
    if (grid->model()->rowCount() > 0)
        grid->selectionModel()->setCurrentIndex(grid->model()->index(row, col),
                                                QItemSelectionModel::NoUpdate);
}

} // namespace

SelectionHandlers::SelectionHandlers(MainContext& ctx, QObject* parent)
    : QObject(parent), m_ctx(ctx) {
    Ui::frmORVANEX* ui = ctx.ui;
    connect(ui->cmdSelectByFileExtension, &QPushButton::clicked, this,
            &SelectionHandlers::cmdSelectByFileExtension_Click);
    connect(ui->cmdSelectByFileType, &QPushButton::clicked, this,
            &SelectionHandlers::cmdSelectByFileType_Click);
    connect(ui->flex1, &QTableView::pressed, this,
            [this](const QModelIndex& i) { flex1_MouseDown(i.row() + 1, i.column()); });
    connect(ui->flex2, &QTableView::pressed, this,
            [this](const QModelIndex& i) { flex2_MouseDown(i.row() + 1, i.column()); });
    connect(ui->flex1->horizontalHeader(), &QHeaderView::sectionPressed, this,
            [this](int c) { flex1_MouseDown(0, c); });
    connect(ui->flex2->horizontalHeader(), &QHeaderView::sectionPressed, this,
            [this](int c) { flex2_MouseDown(0, c); });
    connect(ui->Combo1, &QComboBox::activated, this, &SelectionHandlers::Combo1_Click);
    connect(ui->Combo2, &QComboBox::activated, this, &SelectionHandlers::Combo2_Click);
    for (QWidget* w : std::initializer_list<QWidget*>{ui->flex1, ui->flex2, ui->Combo1, ui->Combo2})
        w->installEventFilter(this);
    // The second caption of each pair sharing a mnemonic (Alt+Y, Alt+F) gets a key of its own.
    auto* byType = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_T), ctx.window);
    connect(byType, &QShortcut::activated, ui->cmdSelectByFileType, &QPushButton::click);
    auto* find = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), ctx.window);
    connect(find, &QShortcut::activated, this, [ui] {
        // The action panel's Find when the panel is up, else the icons' Find.
        QPushButton* button = ui->cmdBrowseApplX->isVisible() ? ui->cmdBrowseApplX : ui->cmdIcons;
        if (button->isVisible() && button->isEnabled())
            button->click();
    });
    // Tab and Shift+Tab move between the window's controls; the arrows move within a grid.
    for (QTableView* grid : {ui->flex1, ui->flex2, ui->flex3})
        grid->setTabKeyNavigation(false);
}

bool SelectionHandlers::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    Ui::frmORVANEX* ui = m_ctx.ui;
    if ((watched == ui->flex1 || watched == ui->flex2) && isRowMove(key))
        return moveByKey(static_cast<QTableView*>(watched), event);
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    if (watched == ui->flex1)
        flex1_KeyDown(kKeyEnter);
    else if (watched == ui->flex2)
        flex2_KeyDown(kKeyEnter);
    else if (watched == ui->Combo1 || watched == ui->Combo2) {
        auto* box = static_cast<QComboBox*>(watched);
        box->setFocus();
        locate(box == ui->Combo1 ? ui->flex1 : ui->flex2, box);
    } else
        return false;
    return true;
}

bool SelectionHandlers::isRowMove(int key) {
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
           key == Qt::Key_PageDown || key == Qt::Key_Home || key == Qt::Key_End;
}

// The grid moves its current row as always; a row that changed then shows its entry, as a click
// does, so that the highlighted row is the one shown.
bool SelectionHandlers::moveByKey(QTableView* grid, QEvent* event) {
    if (m_ctx.state.panelOpen()) {
        m_ctx.ui->lblScan->setText(kPleaseSelect);
        return true; // the row stays with the entry the open panel works on
    }
    const int before = currentRow(grid);
    static_cast<QObject*>(grid)->event(event); // the view's own handling, past this filter
    const int after = currentRow(grid);
    if (after < 0 || after == before)
        return true;
    // The status quotes the current cell, or the row's name where that cell is empty.
    int col = std::max(grid->currentIndex().column(), 0);
    if (cellText(grid, after, col).isEmpty())
        col = 0;
    gridMouseDown(grid, after + 1, col, grid == m_ctx.ui->flex2);
    return true;
}

void SelectionHandlers::cmdSelectByFileExtension_Click() {
    if (m_ctx.state.panelOpen())
        return;
    Ui::frmORVANEX* ui = m_ctx.ui;
    m_ctx.state.setSelectBy(SelectBy::FileExtension);
    ui->lblMIME->setVisible(true);
    ui->txtMIME->setVisible(true);
    ui->txtMIME->setText(QStringLiteral(" "));
    setTwipsWidth(ui->txtDesc, 3465);
    ClearDetailArea(m_ctx);
    ClearActionFields(m_ctx);
    ui->cmdPrintF2->setEnabled(false);
    ui->cmdPrint->setEnabled(true);
    ui->mnuAddExtType->setEnabled(false);
    ui->cmdDeleteExt->setEnabled(false);
    ui->mnuBackup->setEnabled(false);
    ui->flex1->setVisible(true);
    ui->flex2->setVisible(false);
    ui->Combo1->setVisible(true);
    ui->Combo2->setVisible(false);
    ui->Label1->setText(QStringLiteral("File Extension"));
    setTwipsLeft(ui->Label1, 240);
    setTwipsWidth(ui->Label1, 1260);
    ui->Label3->setText(QStringLiteral("Related File Extensions"));
    ui->Label3->setVisible(true);
    setTwipsLeft(ui->txtRel, 2640);
    setTwipsWidth(ui->txtRel, 3400);
    ui->txtExt->setVisible(true);
    ui->txtRel->setVisible(true);
    selectionSwitched();
}

void SelectionHandlers::cmdSelectByFileType_Click() {
    if (m_ctx.state.panelOpen())
        return;
    Ui::frmORVANEX* ui = m_ctx.ui;
    m_ctx.state.setSelectBy(SelectBy::FileType);
    ui->lblMIME->setVisible(false);
    ui->txtMIME->setVisible(false);
    setTwipsWidth(ui->txtDesc, 5900);
    ClearDetailArea(m_ctx);
    ClearActionFields(m_ctx);
    ui->cmdPrintF2->setEnabled(true);
    ui->cmdPrint->setEnabled(false);
    ui->mnuAddExtType->setEnabled(false);
    ui->cmdDeleteExt->setEnabled(false);
    ui->mnuBackup->setEnabled(false);
    ui->flex2->setVisible(true);
    ui->flex1->setVisible(false);
    ui->Combo2->setVisible(true);
    ui->Combo1->setVisible(false);
    ui->Label1->setText(QStringLiteral("File Extension(s)"));
    setTwipsWidth(ui->Label1, 3000);
    ui->Label3->setVisible(false);
    ui->txtExt->setVisible(false);
    setTwipsLeft(ui->txtRel, 120);
    setTwipsWidth(ui->txtRel, 5900);
    selectionSwitched();
}

// The closing steps of both switches.
void SelectionHandlers::selectionSwitched() {
    EditingSession& session = editingSession(m_ctx);
    session.RememberedIconFile.clear();
    session.RememberedIconType.clear();
    for (QTableView* grid : {m_ctx.ui->flex1, m_ctx.ui->flex2}) {
        sortGrid(grid, 0, model::kSortStringAscending);
        setCurrentRow(grid, 0);
        setTopRow(grid, 0);
    }
    m_ctx.ui->lblScan->setText(QStringLiteral("Select File Extension/Type"));
}

void SelectionHandlers::flex1_MouseDown(int row, int col) {
    gridMouseDown(m_ctx.ui->flex1, row, col, false);
}

void SelectionHandlers::flex2_MouseDown(int row, int col) {
    gridMouseDown(m_ctx.ui->flex2, row, col, true);
}

void SelectionHandlers::gridMouseDown(QTableView* grid, int row, int col, bool fileTypes) {
    if (m_ctx.state.panelOpen()) {
        m_ctx.ui->lblScan->setText(kPleaseSelect);
        return;
    }
    if (row != 0) {
        showCurrent(grid, row - 1, col, fileTypes);
        return;
    }
    const int key = model::sortKeyColumn(col);
    if (key < 0)
        return;
    model::SortToggles& toggles = fileTypes ? m_ctx.SortToggleType : m_ctx.SortToggleExt;
    const int code = toggles.click(col);
    setCurrentColumn(grid, key);
    sortGrid(grid, key, code);
    setTopRow(grid, 0);
    // Making the sort column current scrolls it into view; the view stays at the first column.
    grid->horizontalScrollBar()->setValue(0);
}

void SelectionHandlers::flex1_KeyDown(int keyCode) {
    if (keyCode == kKeyEnter)
        gridMouseDown(m_ctx.ui->flex1, currentRow(m_ctx.ui->flex1) + 1,
                      m_ctx.ui->flex1->currentIndex().column(), false);
}

void SelectionHandlers::flex2_KeyDown(int keyCode) {
    if (keyCode == kKeyEnter)
        gridMouseDown(m_ctx.ui->flex2, currentRow(m_ctx.ui->flex2) + 1,
                      m_ctx.ui->flex2->currentIndex().column(), true);
}

void SelectionHandlers::showCurrent(QTableView* grid, int tableRow, int col, bool fileTypes) {
    // No current cell, or an empty one: nothing to show.
    if (tableRow < 0 || col < 0 || cellText(grid, tableRow, col).isEmpty())
        return;
    if (fileTypes)
        ShowFileType(m_ctx, tableRow, col);
    else
        ShowExtension(m_ctx, tableRow, col);
}

void SelectionHandlers::Combo1_Click() {
    locate(m_ctx.ui->flex1, m_ctx.ui->Combo1);
}

void SelectionHandlers::Combo2_Click() {
    locate(m_ctx.ui->flex2, m_ctx.ui->Combo2);
}

void SelectionHandlers::locate(QTableView* grid, QComboBox* box) {
    sortGrid(grid, 0, model::kSortStringAscending);
    setTopRow(grid, 0);
    m_ctx.LocateLetter = box->currentText().trimmed();
    const int tableRow = FindLocateRow(grid, box->currentText());
    m_ctx.LocateRow = tableRow + 1;
    if (m_ctx.LocateRow != 0) {
        setTopRow(grid, tableRow);
        // The arrows go on from the located row.
        setCurrentRow(grid, tableRow);
    }
}

int FindLocateRow(const QTableView* grid, const QString& item) {
    return model::FindLocateRow(columnTexts(grid, 0), item) - 1;
}

} // namespace orvanex::editing
