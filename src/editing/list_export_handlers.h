#pragma once
// "Export List…" of the print menu: the list shown, with the rows the filter keeps, into a CSV
// file or an HTML page chosen by the name's suffix, written beside and renamed in.

#include <QObject>
#include <QString>

namespace orvanex {
struct MainContext;
}

namespace orvanex::reports {

class ListExportHandlers : public QObject {
    Q_OBJECT
public:
    ListExportHandlers(MainContext& ctx, QObject* parent);

    // Asks for the file, then exports.
    void mnuExportList_Click();
    // Exports the list shown to path; the outcome goes to the status line (and a failure to a
    // message box as well). True when written.
    bool exportTo(const QString& path, bool quiet = false);

private:
    MainContext& m_ctx;
};

} // namespace orvanex::reports
