#pragma once
// The filter box above the index grids: both lists keep only the rows that contain its text
// (model::ListFilter's rule) as the user types; Escape or an emptied box shows every row again.
// The selection stays on the entry shown while its row is kept; when the row goes, the detail
// area is cleared unless an edit of it is pending.

#include "model/list_filter.h"

#include <QObject>
#include <QString>
#include <optional>

class QLineEdit;

namespace orvanex {
struct MainContext;
}

namespace orvanex::editing {

class FilterBox : public QObject {
    Q_OBJECT
public:
    // Makes the box (txtFilter) over the top of the grids, which give up its height.
    explicit FilterBox(MainContext& ctx, QObject* parent = nullptr);

    QLineEdit* box() const { return m_box; }
    // Filters both lists by the box's text now (the box calls it on every change).
    void apply();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ensureFilter();
    bool editPending() const;

    MainContext& m_ctx;
    QLineEdit* m_box = nullptr;
    std::optional<model::ListFilter> m_filter;
    qsizetype m_builtFor = -1; // the extension table's size the filter was built from
    QString m_folded;          // the text of the rows shown now, folded
};

} // namespace orvanex::editing
