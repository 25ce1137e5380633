#include "editing/filter_box.h"

#include "editing/detail_panel.h"
#include "editing/editing_session.h"
#include "editing/grid_view.h"
#include "editing/main_context.h"
#include "ui_main_window.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QShortcut>
#include <QTableView>

namespace orvanex::editing {

namespace {

constexpr int kGap = 3; // pixels between the box and the grid

// The record of a grid's current row, to find it again after the rows change.
std::optional<model::IndexRow> currentRecord(QTableView* grid) {
    const auto* m = static_cast<const model::IndexGridModel*>(gridModel(grid));
    const int row = currentRow(grid);
    if (!m || !m->isRecordRow(row))
        return std::nullopt;
    return m->record(row);
}

void reselect(QTableView* grid, const std::optional<model::IndexRow>& record) {
    auto* m = static_cast<model::IndexGridModel*>(gridModel(grid));
    if (!m || !record)
        return;
    const int row = m->findRecord([&](const model::IndexRow& r) {
        return r.name == record->name && r.related == record->related;
    });
    if (row >= 0) {
        setCurrentRow(grid, row);
        grid->scrollTo(grid->model()->index(row, 0));
    }
}

} // namespace

FilterBox::FilterBox(MainContext& ctx, QObject* parent) : QObject(parent), m_ctx(ctx) {
    Ui::frmORVANEX* ui = ctx.ui;
    m_box = new QLineEdit(ui->centralwidget);
    m_box->setObjectName(QStringLiteral("txtFilter"));
    m_box->setPlaceholderText(QStringLiteral("Filter: extension, type, description, content type, "
                                             "command or icon"));
    m_box->setToolTip(QStringLiteral("Show only the rows that contain this text!  Escape shows "
                                     "all rows again."));
    m_box->setClearButtonEnabled(true);
    const QRect grid = ui->flex1->geometry();
    const int height = m_box->sizeHint().height();
    m_box->setGeometry(grid.x(), grid.y(), grid.width(), height);
    for (QTableView* g : {ui->flex1, ui->flex2})
        g->setGeometry(grid.x(), grid.y() + height + kGap, grid.width(),
                       grid.height() - height - kGap);
    // The panels that cover the grids cover the box as well.
    m_box->lower();
    m_box->show();
    m_box->installEventFilter(this);
    // Reached from the keyboard: just before the grids in the Tab order, and by Ctrl+L
    // (Ctrl+F belongs to the Find buttons).
    if (QWidget* before = ui->flex1->previousInFocusChain(); before && before != m_box)
        QWidget::setTabOrder(before, m_box);
    auto* find = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), ui->centralwidget);
    connect(find, &QShortcut::activated, m_box, [this] {
        m_box->setFocus(Qt::ShortcutFocusReason);
        m_box->selectAll();
    });
    connect(m_box, &QLineEdit::textChanged, this, &FilterBox::apply);
}

bool FilterBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_box && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        m_box->clear();
        return true;
    }
    return false;
}

void FilterBox::ensureFilter() {
    const EditingSession& session = editingSession(m_ctx);
    // Built once the lists exist, again after extensions came or went.
    if (m_filter && m_builtFor == session.extensions.size())
        return;
    m_filter.emplace(session.extensions, session.lists.typeTexts);
    m_filter->prepare(session.grids.extensions->records(), session.grids.fileTypes->records());
    m_builtFor = session.extensions.size();
    m_folded.clear();
}

// An entry edited in the detail area or a panel open: the filter must not throw that away.
bool FilterBox::editPending() const {
    return m_ctx.state.panelOpen() || m_ctx.state.editState() >= EditState::IconPanel ||
           m_ctx.ui->cmdApply->isEnabled();
}

void FilterBox::apply() {
    EditingSession& session = editingSession(m_ctx);
    if (!session.grids.extensions || !session.grids.fileTypes)
        return;
    Ui::frmORVANEX* ui = m_ctx.ui;
    QTableView* shownGrid = m_ctx.state.byFileType() ? ui->flex2 : ui->flex1;
    const std::optional<model::IndexRow> extRecord = currentRecord(ui->flex1);
    const std::optional<model::IndexRow> typeRecord = currentRecord(ui->flex2);
    const QString text = m_box->text();
    if (text.isEmpty()) {
        session.grids.extensions->setFilter(nullptr);
        session.grids.fileTypes->setFilter(nullptr);
        m_folded.clear();
    } else {
        ensureFilter();
        const QString folded = model::ListFilter::fold(text);
        // A longer text keeps a subset of the rows shown: only those are tested again.
        bool narrowing = !m_folded.isEmpty() && folded.contains(m_folded);
        // The type shown may have been edited since the lists were read.
        if (!m_ctx.CurrentTypeKey.isEmpty() &&
            m_filter->refreshType(m_ctx.CurrentTypeKey,
                                  model::ReadTypeFilterTexts(m_ctx.regState, m_ctx.CurrentTypeKey)))
            narrowing = false;
        const model::ListFilter* filter = &*m_filter;
        session.grids.extensions->setFilter(
            [filter, folded](const model::IndexRow& r) {
                return filter->extensionRowMatches(r, folded);
            },
            narrowing);
        session.grids.fileTypes->setFilter(
            [filter, folded](const model::IndexRow& r) {
                return filter->typeRowMatches(r, folded);
            },
            narrowing);
        m_folded = folded;
    }
    reselect(ui->flex1, extRecord);
    reselect(ui->flex2, typeRecord);
    const std::optional<model::IndexRow>& shownRecord =
        m_ctx.state.byFileType() ? typeRecord : extRecord;
    if (shownRecord && currentRow(shownGrid) < 0 &&
        m_ctx.state.editState() == EditState::EntryShown && !editPending()) {
        ClearDetailArea(m_ctx);
        ClearActionFields(m_ctx);
        DisableEntryControls(m_ctx);
    }
    const model::IndexGridModel* m =
        m_ctx.state.byFileType() ? session.grids.fileTypes : session.grids.extensions;
    if (!text.isEmpty())
        ui->lblScan->setText(QStringLiteral("%1 of %2 %3 contain \"%4\"")
                                 .arg(m->recordCount())
                                 .arg(m->records().size())
                                 .arg(m_ctx.state.byFileType()
                                          ? QStringLiteral("registered file types")
                                          : QStringLiteral("registered file extensions"),
                                      text));
}

} // namespace orvanex::editing
