#pragma once
// The main window's Apply button, the new-file-type button and the add-extensions panel: they read
// the fields, run the editing operations and put the outcome into the lists and the status line.

#include "editing/change_group.h"

#include <QString>

namespace orvanex::editing {

struct EditContext;
class SelectionHandlers;

class ChangeHandlers : public ChangeGroup {
    Q_OBJECT
public:
    ChangeHandlers(MainContext& ctx, backup::BackupHandlers& backup, SelectionHandlers& selection,
                   QObject* parent = nullptr);

    void cmdApply_Click();
    void cmdExtNew_Click();
    void mnuAddExtType_Click();
    void cmdOKExtType_Click();
    void cmdCancelExtType_Click();

    QString TargetTypeKey;

private:
    void applyChange(EditContext& edit);
    void applyNewType(EditContext& edit);
    // The lists' rows of the type shown take its new description.
    void showNewDescription(const QString& before, const QString& description);
    // Puts the extension table's row into flex1: a new row, or the row of a claimed extension.
    void showExtensionRow(qsizetype entryIndex);

    SelectionHandlers& m_selection;
};

} // namespace orvanex::editing
