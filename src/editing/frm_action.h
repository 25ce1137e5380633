#pragma once
// frmAction: picks the application that performs an action, from the command lines registered
// actions already use or by browsing for a program file. The result is SelectedApplication.

#include "platform/drive_map.h"

#include <QDialog>
#include <functional>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace orvanex::editing {

// The file-open dialog's filters, in Qt's syntax, in the order the dialog offers them.
QString applicationFileFilter();
inline const QString kBrowseApplicationTitle =
    QStringLiteral("ORVANEX - Browse for application file.");

class FrmAction : public QDialog {
    Q_OBJECT
public:
    FrmAction(const QStringList& applications, platform::DriveMap drives, QWidget* parent);

    // Empty until "&Select" is chosen.
    QString SelectedApplication;
    // Asks for a file (a native path, empty when cancelled); a file-open dialog by default.
    std::function<QString(QWidget* parent)> chooseFile;

    void List1_Click();
    void cmdBrowseAppl_Click();
    void cmdOK_Click();

private:
    platform::DriveMap m_drives;
    QListWidget* m_list;
    QLineEdit* m_text;
    QPushButton* m_select;
};

} // namespace orvanex::editing
