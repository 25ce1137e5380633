#pragma once
// What merging a backup file would change in the registry as it is now, before anything is
// written: "&Merge" merges, "&Cancel" leaves the registry alone.

#include "backup/backup_merge.h"
#include "model/grid_model.h"

#include <QDialog>

namespace orvanex::backup {

class MergePreviewDialog : public QDialog {
    Q_OBJECT
public:
    MergePreviewDialog(const QString& path, const MergePreview& preview, QWidget* parent);
};

// How the dialog's grid shows a change: change, key, value, old data, new data.
QList<model::GridColumn<reg::RegChange>> previewColumns();

} // namespace orvanex::backup
