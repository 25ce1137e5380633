#include "reports/report_sources.h"

namespace orvanex::reports {

QList<QStringList> reportRows(const QList<model::IndexRow>& rows, int columns) {
    QList<QStringList> out;
    out.reserve(rows.size());
    for (const model::IndexRow& row : rows) {
        QStringList cells;
        for (int c = 0; c < columns; ++c)
            cells.append(model::indexCellText(row, c));
        out.append(cells);
    }
    return out;
}

DetailReport detailReportFor(reg::RegState& state, const model::DetailView& view, bool typeMode) {
    DetailReport r;
    r.typeMode = typeMode;
    r.description = view.txtDesc;
    r.extension = view.txtExt;
    r.related = view.txtRel;
    r.contentType = view.txtMIME;
    r.iconFile = view.txtIcon;
    r.iconNumber = view.txtIconNumber;
    r.quickView = view.flags.QuickView == model::kYes;
    r.alwaysShowExtension = view.flags.AlwaysShowExt == model::kYes;
    for (const model::ActionEntry& row : view.actions.actions) {
        const model::ActionDetail d =
            model::LoadActionDetail(state, view.CurrentTypeKey, view.actions, row.DisplayName);
        DetailAction a;
        a.keyName = row.DisplayName;
        a.isDefault = d.action.IsDefault == model::kYes;
        a.actionName = d.ActionName;
        a.application = d.action.Command;
        a.ddeMessage = d.action.DdeMessage;
        a.ddeApplication = d.action.DdeApplication;
        a.ddeNotRunning = d.action.DdeNotRunning;
        a.ddeTopic = d.action.DdeTopic;
        r.actions.append(a);
    }
    return r;
}

} // namespace orvanex::reports
