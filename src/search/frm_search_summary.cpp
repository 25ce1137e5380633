// The search window's "&File Summary": the summary of the selected file, over the search window.

#include "search/frm_search.h"
#include "search/frm_summary.h"

#include <QFile>

namespace orvanex::search {

void frmSearch::cmdSummary_Click() {
    const QString path = selectedPath();
    if (path.isEmpty())
        return;
    const ResultRow& row = m_model->row(m_selectedRow);
    const QString native = QFile::decodeName(row.root >= 0 ? row.native : nativeOf(path));
    if (scriptedAnswer != 0) {
        // Tests look at the window without waiting for a user to close it.
        lastSummary = new frmSummary(path, native, describeExtension, this);
        return;
    }
    ShowFileSummary(path, native, describeExtension, this);
    update();
}

} // namespace orvanex::search
