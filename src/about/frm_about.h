#pragma once
// The about box: the program's name and version, the statistics of a chosen drive, and the
// desktop's software-update and system-information tools.

#include "about/system_tools.h"
#include "platform/drive_map.h"

#include <QDialog>

class QComboBox;
class QListWidget;
class QPushButton;

namespace orvanex::about {

class frmAbout : public QDialog {
    Q_OBJECT
public:
    // registry: where "&System" looks for the system-information program (may be null).
    explicit frmAbout(platform::DriveMap drives, QWidget* parent = nullptr,
                      reg::Registry* registry = nullptr);

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
    reg::Registry* m_registry = nullptr;
    QList<QByteArray> m_native; // the folder of each entry of Combo1
};

// Opens the about box over the main window.
void mnuAbout_Click(const platform::DriveMap& drives, QWidget* parent,
                    reg::Registry* registry = nullptr);

} // namespace orvanex::about
