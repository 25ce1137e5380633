#pragma once
// The backup files window: every recorded backup, sorted by a heading click; a chosen backup is
// opened in the text editor, merged after a preview of its changes, or sent to the trash; the
// list is printed with the list report layout.

#include "backup/backup_merge.h"
#include "backup/backup_table_model.h"
#include "registry/registry.h"

#include <QDialog>
#include <array>
#include <functional>

class QLabel;
class QMenu;
class QPushButton;
class QTableView;

namespace orvanex::backup {

class FrmBackup : public QDialog {
    Q_OBJECT
public:
    // openEditor opens a file in the text editor (false: it could not be started); confirmMerge
    // shows the merge preview and says whether to merge.
    struct Services {
        std::function<bool(const QString&)> openEditor;
        std::function<bool(const QString&, const MergePreview&, QWidget*)> confirmMerge;
        bool previewPrint = false; // print into the preview even where a printer exists
    };
    FrmBackup(reg::Registry* registry, QString appFolder, Services services,
              QWidget* parent = nullptr);

    void Form_Load();
    void MSFlexGrid1_Click(const QModelIndex& index);
    void HeadingClick(int column);
    void mnuNotepad_Click();
    void mnuRestore_Click();
    void mnuFile_Click();
    void cmdPrint_Click();

    QString SelectedPath;
    BackupTableModel* model() const { return m_model; }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void dropRequest();
    void setButton(const QString& caption);
    void merge();
    void remove();
    void print();

    reg::Registry* m_registry;
    QString m_appFolder;
    Services m_services;
    BackupTableModel* m_model;
    QTableView* MSFlexGrid1;
    QLabel* lblScan;
    QLabel* lblCount;
    QPushButton* cmdPrint;
    QPushButton* cmdCancelBackup;
    QMenu* mnuOptions;
    std::array<int, 5> m_sortFlags{1, 1, 1, 1, 1};
    QString m_currentCell; // the chosen row's file name
};

} // namespace orvanex::backup
