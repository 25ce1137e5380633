#pragma once
// The main window's print menu: the extension list, the file-type list and the detail of the
// entry shown, each printed or shown in a print preview.

#include "reports/report_layout.h"

#include <QObject>

class QTableView;

namespace orvanex {
struct MainContext;
}

namespace orvanex::reports {

// The vertical step of a printed line: a grid row's height on screen, in twips.
int gridRowStepTwips(const QTableView* grid);
// The data rows of a grid, columns 0 to columns - 1, as they stand on screen.
QList<QStringList> gridReportRows(const QTableView* grid, int columns);
// The detail report of what the detail fields and the action grid show.
DetailReport detailReportFromWindow(MainContext& ctx);

class ReportHandlers : public QObject {
    Q_OBJECT
public:
    ReportHandlers(MainContext& ctx, QObject* parent);

    void cmdPrint_Click(bool preview = false);
    void cmdPrintF2_Click(bool preview = false);
    void cmdPrintDetail_Click(bool preview = false);

private:
    // Whether a delete request waits for its confirmation: every report does nothing then.
    bool deleteRequestWaits() const;
    // One list report: the grid's rows as they stand, under `what` in the status texts.
    void printList(const QTableView* grid, const ListReportLayout& layout, const QString& what,
                   bool preview);
    void finish(const QString& done, int route, const QString& error);

    MainContext& m_ctx;
};

} // namespace orvanex::reports
