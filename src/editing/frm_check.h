#pragma once
// The associations check window (Actions, "&Check Associations…"): the findings of
// model::CheckAssociations in a grid; "&Show" selects the entry in the main window, "&Fix…"
// takes the plain fix of a finding after its backup.

#include "model/grid_model.h"
#include "model/health_check.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableView;

namespace orvanex {
struct MainContext;
}
namespace orvanex::backup {
class BackupHandlers;
}

namespace orvanex::editing {

class FilterBox;

using FindingGridModel = model::GridModel<model::Finding>;

class FrmCheck : public QDialog {
    Q_OBJECT
public:
    // Fixes back up through backup; an entry the filter hides is shown by clearing filter.
    FrmCheck(MainContext& ctx, backup::BackupHandlers& backup, FilterBox& filter, QWidget* parent);

    // Checks the registry again and lists what it finds.
    void cmdCheckAgain_Click();
    void cmdShowFinding_Click();
    // ask: confirm first (the window does; tests answer for the user).
    void cmdFixFinding_Click(bool ask = true);
    const model::HealthReport& report() const { return m_report; }
    QTableView* grid() const { return m_grid; }

private:
    const model::Finding* selected() const;
    void selectionChanged();

    MainContext& m_ctx;
    backup::BackupHandlers& m_backup;
    FilterBox& m_filter;
    model::HealthReport m_report;
    FindingGridModel* m_model = nullptr;
    QTableView* m_grid = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_show = nullptr;
    QPushButton* m_fix = nullptr;
};

// Selects the entry of a finding (".ext" or a type key) in the main window and shows it, as a
// click on its row would; false when it has no row or a panel is open.
// A row the filter box hides is found by clearing the box.
bool showEntryInMainWindow(MainContext& ctx, FilterBox& filter, const QString& entry);

// Adds "&Check Associations…" to the Actions menu; the window opens once, beside the main one.
// The window uses backup and filter, and context (which must not outlive them) holds its item's
// connection.
void installCheckWindow(MainContext& ctx, backup::BackupHandlers& backup, FilterBox& filter,
                        QObject* context);

} // namespace orvanex::editing
