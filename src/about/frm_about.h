#pragma once
// The about box: the program's name and version, the statistics of a chosen drive, and the
// desktop's software-update and system-information tools.

#include "platform/drive_map.h"

#include <QDialog>

class QComboBox;
class QListWidget;
class QPushButton;

namespace orvanex::about {

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(platform::DriveMap drives, QWidget* parent = nullptr);

    QComboBox* Combo1 = nullptr;
    QListWidget* List1 = nullptr;
    QPushButton* cmdVolumeInfo = nullptr;
    QPushButton* cmdMaint = nullptr;
    QPushButton* cmdSysInfo = nullptr;
    QPushButton* cmdOK = nullptr;

    void cmdVolumeInfo_Click();
    void cmdMaint_Click();
    void cmdSysInfo_Click();

private:
    platform::DriveMap m_drives;
    QList<QByteArray> m_native; // the folder of each entry of Combo1
};

// The first of the programs that is installed, with its arguments; empty when none is.
QStringList FirstInstalled(const QList<QStringList>& candidates);

// Opens the about box over the main window.
void mnuAbout_Click(const platform::DriveMap& drives, QWidget* parent);

} // namespace orvanex::about
