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
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
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

bool startFirst(const QList<QStringList>& candidates) {
    const QStringList command = FirstInstalled(candidates);
    return !command.isEmpty() && QProcess::startDetached(command.first(), command.mid(1));
}

} // namespace

QStringList FirstInstalled(const QList<QStringList>& candidates) {
    for (const QStringList& c : candidates) {
        const QString path = QStandardPaths::findExecutable(c.first());
        if (!path.isEmpty())
            return QStringList{path} + c.mid(1);
    }
    return {};
}

frmAbout::frmAbout(platform::DriveMap drives, QWidget* parent)
    : QDialog(parent), m_drives(std::move(drives)) {
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
    if (!startFirst({{QStringLiteral("gnome-software"), QStringLiteral("--mode=updates")},
                     {QStringLiteral("plasma-discover"), QStringLiteral("--mode"),
                      QStringLiteral("Update")},
                     {QStringLiteral("update-manager")},
                     {QStringLiteral("mintupdate")}}))
        QMessageBox::information(this, windowTitle(),
                                 QStringLiteral("Software Updates Are Unavailable At This Time"));
}

void frmAbout::cmdSysInfo_Click() {
    flash(cmdSysInfo);
    if (!startFirst({{QStringLiteral("hardinfo")},
                     {QStringLiteral("kinfocenter")},
                     {QStringLiteral("gnome-control-center"), QStringLiteral("info-overview")},
                     {QStringLiteral("xfce4-about")}}))
        QMessageBox::information(this, windowTitle(),
                                 QStringLiteral("System Information Is Unavailable At This Time"));
}

void mnuAbout_Click(const platform::DriveMap& drives, QWidget* parent) {
    frmAbout window(drives, parent);
    window.exec();
}

} // namespace orvanex::about
