#pragma once
// What merging a backup file would change in the registry as it is now, before anything is
// written: "&Merge" merges, "&Cancel" leaves the registry alone.

#include "backup/backup_merge.h"

#include <QDialog>

namespace orvanex::backup {

class MergePreviewDialog : public QDialog {
    Q_OBJECT
public:
    MergePreviewDialog(const QString& path, const MergePreview& preview, QWidget* parent);
};

// The rows the dialog lists: change, key, value, old data, new data.
QList<QStringList> previewRows(const reg::RegDiff& diff);

} // namespace orvanex::backup
