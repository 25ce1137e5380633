// The header sorts of the search window. A large grid is sorted on a thread of its own and the
// new order put in place at once, so the window keeps answering while a million rows sort.

#include "search/frm_search.h"
#include "search/result_sort.h"

#include <QHeaderView>
#include <QTableView>
#include <QThread>

namespace orvanex::search {

void frmSearch::MSFlexGrid1_HeaderClick(int column) {
    if (Searching || panelOpen() || m_textScan)
        return;
    if (m_sortThread) {
        // Taken when the running sort ends, so that a quick second click still toggles.
        m_pendingSortColumn = column;
        return;
    }
    int* state = column == 0 ? &NameSortState : column == 1 ? &SizeSortState : nullptr;
    if (!state)
        return;
    const Qt::SortOrder order = *state == 0 ? Qt::AscendingOrder : Qt::DescendingOrder;
    *state = *state == 0 ? 1 : 0;
    if (m_model->rowCount() < sortOnThreadRows) {
        sortDone(resultOrder(m_model->snapshot(), m_model->roots(), column, order));
        return;
    }
    m_sortCancel.store(false);
    m_sortThread.reset(QThread::create([this, rows = m_model->snapshot(), roots = m_model->roots(),
                                        column, order]() mutable {
        std::vector<int> sorted = resultOrder(rows, roots, column, order, &m_sortCancel);
        // The rows are let go here, so that the window's copy is not shared when it moves.
        rows = RowView();
        QMetaObject::invokeMethod(
            this, [this, sorted = std::move(sorted)] { sortDone(sorted); }, Qt::QueuedConnection);
    }));
    MSFlexGrid1->horizontalHeader()->setCursor(Qt::BusyCursor);
    m_sortThread->start();
}

void frmSearch::sortDone(const std::vector<int>& order) {
    if (m_sortThread) {
        m_sortThread->wait();
        m_sortThread.reset();
        MSFlexGrid1->horizontalHeader()->unsetCursor();
    }
    m_model->applyOrder(order);
    MSFlexGrid1->scrollToTop();
    MSFlexGrid1->setCurrentIndex(m_model->index(0, 0));
    Q_EMIT sortFinished();
    const int pending = std::exchange(m_pendingSortColumn, -1);
    if (pending >= 0)
        MSFlexGrid1_HeaderClick(pending);
}

} // namespace orvanex::search
