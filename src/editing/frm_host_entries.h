#pragma once
// The window "Linux Desktop Entries" (File menu): the desktop entries, MIME packages, icons and
// mimeapps.list lines Wine wrote, with their extension, prefix and state; Remove backs them up
// first, Restore puts a removal back, Add makes an entry for one Wine type, and "Disable Wine's
// export" switches the export off for a whole prefix.

#include "desktop/host_change.h"
#include "desktop/host_scan.h"
#include "model/grid_model.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableView;

namespace orvanex {
struct MainContext;
}

namespace orvanex::editing {

using HostGridModel = model::GridModel<desktop::HostItem>;

class FrmHostEntries : public QDialog {
    Q_OBJECT
public:
    // defaultPrefix: the prefix Add and Disable offer when no row names one.
    FrmHostEntries(QString appFolder, QString defaultPrefix, QWidget* parent);

    void refresh();
    // ask: confirm or ask first (the window does; tests give the answers).
    void cmdRemoveHost_Click(bool ask = true);
    void cmdAddHost_Click(const QString& ext = {}, const QString& prefix = {});
    void cmdRestoreHost_Click(const QString& name = {});
    void cmdDisableExport_Click(bool ask = true);

    QTableView* grid() const { return m_grid; }
    HostGridModel* model() const { return m_model; }
    QString statusText() const;

private:
    const desktop::HostItem* selected() const;
    void showOutcome(const desktop::HostOutcome& outcome);
    QString chosenPrefix() const;

    QString m_appFolder;
    QString m_defaultPrefix;
    HostGridModel* m_model = nullptr;
    QTableView* m_grid = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_remove = nullptr;
};

// Adds "Linux &Desktop Entries…" to the File menu, above Exit.
void installHostEntriesWindow(MainContext& ctx, QObject* parent);

} // namespace orvanex::editing
