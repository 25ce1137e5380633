#pragma once
// What the reports print, taken from the model the main window shows: the list rows and the
// detail of one entry with its actions read from the registry.

#include "model/detail_view.h"
#include "model/grid_rows.h"
#include "registry/reg_state.h"
#include "reports/report_layout.h"

namespace orvanex::reports {

// The first `columns` cells of each grid row.
QList<QStringList> reportRows(const QList<model::IndexRow>& rows, int columns);

// The detail report of what the detail view shows; each action is loaded from the registry as
// the action panel loads it.
DetailReport detailReportFor(reg::RegState& state, const model::DetailView& view, bool typeMode);

} // namespace orvanex::reports
