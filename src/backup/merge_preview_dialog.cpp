#include "backup/merge_preview_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
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

QTableWidget* table(const QString& name, const QStringList& headings,
                    const QList<QStringList>& rows) {
    auto* grid = new QTableWidget(int(rows.size()), int(headings.size()));
    grid->setObjectName(name);
    grid->setHorizontalHeaderLabels(headings);
    grid->verticalHeader()->setVisible(false);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            grid->setItem(r, c, new QTableWidgetItem(rows[r][c]));
    grid->resizeColumnsToContents();
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

} // namespace

QList<QStringList> previewRows(const reg::RegDiff& diff) {
    QList<QStringList> rows;
    for (const reg::RegChange& c : diff.changes) {
        const bool value =
            c.kind != reg::RegChange::KeyCreated && c.kind != reg::RegChange::KeyDeleted;
        const bool hasOld =
            c.kind == reg::RegChange::ValueChanged || c.kind == reg::RegChange::ValueRemoved;
        const bool hasNew =
            c.kind == reg::RegChange::ValueChanged || c.kind == reg::RegChange::ValueAdded;
        rows.append(
            {changeName(c.kind), c.key,
             value ? (c.valueName.isEmpty() ? QStringLiteral("@") : c.valueName) : QString(),
             hasOld ? reg::describeRegData(c.oldType, c.oldData) : QString(),
             hasNew ? reg::describeRegData(c.newType, c.newData) : QString()});
    }
    return rows;
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
        table(QStringLiteral("gridChanges"),
              {QStringLiteral("Change"), QStringLiteral("Key"), QStringLiteral("Value"),
               QStringLiteral("Old data"), QStringLiteral("New data")},
              previewRows(preview.diff)));
    if (!preview.diff.skipped.empty()) {
        QList<QStringList> skipped;
        for (const reg::RegSkippedLine& s : preview.diff.skipped)
            skipped.append({QString::number(s.line), s.text, s.why});
        auto* warning =
            new QLabel(QStringLiteral("%1 line(s) of the file cannot be read and would be skipped:")
                           .arg(skipped.size()),
                       this);
        warning->setObjectName(QStringLiteral("lblSkipped"));
        layout->addWidget(warning);
        layout->addWidget(table(
            QStringLiteral("gridSkipped"),
            {QStringLiteral("Line"), QStringLiteral("Text"), QStringLiteral("Why")}, skipped));
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
