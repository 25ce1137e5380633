#include "backup/merge_preview_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace orvanex::backup {

namespace {

QString changeName(reg::RegChange::Kind kind) {
    switch (kind) {
    case reg::RegChange::KeyCreated:
        return QStringLiteral("Key created");
    case reg::RegChange::KeyDeleted:
        return QStringLiteral("Key deleted");
    case reg::RegChange::ValueAdded:
        return QStringLiteral("Value added");
    case reg::RegChange::ValueChanged:
        return QStringLiteral("Value changed");
    case reg::RegChange::ValueRemoved:
        return QStringLiteral("Value removed");
    }
    return QString();
}

// A read-only grid over the records; its cells are made when the view asks for them, so a
// preview of a whole registry costs its records, not a widget item per cell.
template <typename Row>
QTableView* table(QWidget* parent, const QString& name, const QString& format,
                  QList<model::GridColumn<Row>> columns, QList<Row> rows) {
    auto* grid = new QTableView(parent);
    grid->setObjectName(name);
    auto* m = new model::GridModel<Row>(std::move(columns), grid);
    m->setFormat(format);
    m->setRecords(std::move(rows));
    grid->setModel(m);
    grid->verticalHeader()->setVisible(false);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->resizeColumnsToContents();
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

bool isValueChange(reg::RegChange::Kind kind) {
    return kind != reg::RegChange::KeyCreated && kind != reg::RegChange::KeyDeleted;
}

QString oldData(const reg::RegChange& c) {
    return c.kind == reg::RegChange::ValueChanged || c.kind == reg::RegChange::ValueRemoved
               ? reg::describeRegData(c.oldType, c.oldData)
               : QString();
}

QString newData(const reg::RegChange& c) {
    return c.kind == reg::RegChange::ValueChanged || c.kind == reg::RegChange::ValueAdded
               ? reg::describeRegData(c.newType, c.newData)
               : QString();
}

} // namespace

QList<model::GridColumn<reg::RegChange>> previewColumns() {
    return {{[](const reg::RegChange& c) { return changeName(c.kind); }},
            {[](const reg::RegChange& c) { return c.key; }},
            {[](const reg::RegChange& c) {
                if (!isValueChange(c.kind))
                    return QString();
                return c.valueName.isEmpty() ? QStringLiteral("@") : c.valueName;
            }},
            {oldData},
            {newData}};
}

MergePreviewDialog::MergePreviewDialog(const QString& path, const MergePreview& preview,
                                       QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmMergePreview"));
    setWindowTitle(QStringLiteral("Merge Preview - ") + path);
    auto* layout = new QVBoxLayout(this);
    const qsizetype count = qsizetype(preview.diff.changes.size());
    auto* summary = new QLabel(
        count == 0 ? QStringLiteral("Merging %1 would change nothing in the registry.").arg(path)
                   : QStringLiteral("Merging %1 would make %2 change(s) to the registry:")
                         .arg(path)
                         .arg(count),
        this);
    summary->setObjectName(QStringLiteral("lblSummary"));
    summary->setWordWrap(true);
    layout->addWidget(summary);
    layout->addWidget(
        table(this, QStringLiteral("gridChanges"),
              QStringLiteral("<Change|<Key|<Value|<Old data|<New data"), previewColumns(),
              QList<reg::RegChange>(preview.diff.changes.begin(), preview.diff.changes.end())));
    if (!preview.diff.skipped.empty()) {
        const QList<reg::RegSkippedLine> skipped(preview.diff.skipped.begin(),
                                                 preview.diff.skipped.end());
        auto* warning =
            new QLabel(QStringLiteral("%1 line(s) of the file cannot be read and would be skipped:")
                           .arg(skipped.size()),
                       this);
        warning->setObjectName(QStringLiteral("lblSkipped"));
        layout->addWidget(warning);
        layout->addWidget(table<reg::RegSkippedLine>(
            this, QStringLiteral("gridSkipped"), QStringLiteral("<Line|<Text|<Why"),
            {{[](const reg::RegSkippedLine& s) { return QString::number(s.line); }},
             {[](const reg::RegSkippedLine& s) { return s.text; }},
             {[](const reg::RegSkippedLine& s) { return s.why; }}},
            skipped));
    }
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* merge = buttons->addButton(QStringLiteral("&Merge"), QDialogButtonBox::AcceptRole);
    merge->setObjectName(QStringLiteral("cmdMerge"));
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    cancel->setDefault(true); // nothing is written by accident
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(820, 420);
}

} // namespace orvanex::backup
