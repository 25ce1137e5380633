#include "about/frm_about.h"

#include "about/drive_statistics.h"
#include "platform/drives.h"

#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvanex::about {

namespace {

QLabel* label(const QString& text, QWidget* parent, int pointSize = 0) {
    auto* l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignHCenter);
    if (pointSize) {
        QFont f = l->font();
        f.setPointSize(pointSize);
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

// A click that shows: the button is disabled and enabled again so that it repaints.
void flash(QPushButton* button) {
    button->setEnabled(false);
    button->repaint();
    button->setEnabled(true);
}

} // namespace

frmAbout::frmAbout(platform::DriveMap drives, QWidget* parent, reg::Registry* registry)
    : QDialog(parent), m_drives(std::move(drives)), m_registry(registry) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("ORVANEX About"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label(QStringLiteral("ORVANEX"), this, 20));
    layout->addWidget(label(QStringLiteral("(Manage File Types)"), this));
    layout->addWidget(label(QStringLiteral("Version 1.2.0"), this));
    layout->addWidget(label(QStringLiteral("WINDOWS 95"), this));

    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    for (const platform::DriveRoot& root : platform::driveRoots(m_drives)) {
        Combo1->addItem(root.windowsRoot);
        m_native << root.native;
    }
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::Monospace);
    if (!QFontDatabase::hasFamily(fixed.family()))
        fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    List1->setFont(fixed);
    List1->setMinimumSize(QFontMetrics(fixed).horizontalAdvance(QString(58, u'0')),
                          QFontMetrics(fixed).lineSpacing() * 10);

    cmdVolumeInfo = new QPushButton(QStringLiteral("&Free "), this);
    cmdVolumeInfo->setToolTip(QStringLiteral("Get the free space for the selected drive!"));
    cmdMaint = new QPushButton(QStringLiteral("&Updates"), this);
    cmdMaint->setToolTip(QStringLiteral("Display Windows 95 system update windows!"));
    cmdSysInfo = new QPushButton(QStringLiteral("&System"), this);
    cmdSysInfo->setToolTip(QStringLiteral("Display Microsoft System Information Windows"));
    cmdOK = new QPushButton(QStringLiteral("E&xit"), this);
    cmdOK->setToolTip(QStringLiteral("Exit About ORVANEX"));
    cmdOK->setDefault(true);

    auto* driveRow = new QHBoxLayout;
    driveRow->addWidget(Combo1, 1);
    driveRow->addWidget(cmdVolumeInfo);
    layout->addLayout(driveRow);
    layout->addWidget(List1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdMaint);
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    layout->addLayout(buttons);

    connect(cmdVolumeInfo, &QPushButton::clicked, this, &frmAbout::cmdVolumeInfo_Click);
    connect(cmdMaint, &QPushButton::clicked, this, &frmAbout::cmdMaint_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    // The second drive is chosen first, as the list of roots usually starts with a floppy.
    Combo1->setCurrentIndex(Combo1->count() > 1 ? 1 : 0);
    cmdVolumeInfo_Click();
}

void frmAbout::cmdVolumeInfo_Click() {
    List1->clear();
    const int index = Combo1->currentIndex();
    if (index < 0 || index >= m_native.size())
        return;
    const auto stats = ReadDriveStatistics(QFile::decodeName(m_native[index]));
    if (!stats) {
        List1->addItem(QStringLiteral("  Drive Statistics  :  ") + Combo1->currentText().toUpper());
        List1->addItem(QStringLiteral("  The drive cannot be read"));
        return;
    }
    List1->addItems(DriveStatisticsLines(Combo1->currentText(), *stats));
}

void frmAbout::cmdMaint_Click() {
    flash(cmdMaint);
    const ToolLaunch tool = softwareUpdateTool();
    if (!tool.available())
        QMessageBox::information(this, windowTitle(),
                                 QStringLiteral("Software Updates Are Unavailable At This Time"));
    else if (!startTool(tool))
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("%1 could not be started").arg(tool.command.first()));
}

void frmAbout::cmdSysInfo_Click() {
    flash(cmdSysInfo);
    const ToolLaunch tool = systemInformationTool(m_registry, m_drives);
    if (!tool.available())
        QMessageBox::information(this, windowTitle(),
                                 QStringLiteral("System Information Is Unavailable At This Time"));
    else if (!startTool(tool))
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("%1 could not be started").arg(tool.command.first()));
}

void mnuAbout_Click(const platform::DriveMap& drives, QWidget* parent, reg::Registry* registry) {
    frmAbout window(drives, parent, registry);
    window.exec();
}

} // namespace orvanex::about
