#include "editing/frm_action.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvanex::editing {

namespace {

// 7800 by 7200 twips at 15 twips a pixel.
constexpr int kWidth = 520;
constexpr int kHeight = 480;

QPushButton* button(const QString& name, const QString& text, const QString& tip, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    return b;
}

} // namespace

QString applicationFileFilter() {
    return QStringLiteral("Applications (*.exe *.dll);;Applications (*.dll);;"
                          "Applications (*.exe);;All Files (*)");
}

FrmAction::FrmAction(const QStringList& applications, platform::DriveMap drives, QWidget* parent)
    : QDialog(parent), m_drives(std::move(drives)) {
    setObjectName(QStringLiteral("frmAction"));
    setWindowTitle(QStringLiteral("ORVANEX Select A New Action Application File"));
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_DeleteOnClose, false);

    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("Text1"));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("List1"));
    m_list->addItems(applications);
    m_text->setText(QString::number(applications.size()) + QString(23, u' ') +
                    QStringLiteral(" Action Applications listed - Please make the desired "
                                   "selection!"));
    m_text->setCursorPosition(0);

    m_select = button(QStringLiteral("cmdOK"), QStringLiteral("&Select"),
                      QStringLiteral("Select the new action application file!"), this);
    m_select->setEnabled(false);
    QPushButton* browse = button(QStringLiteral("cmdBrowseAppl"), QStringLiteral("&Browse"),
                                 QStringLiteral("Find the action application file!"), this);
    QPushButton* exit = button(QStringLiteral("cmdExit"), QStringLiteral("E&xit"),
                               QStringLiteral("Exit action application selection!"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_select);
    buttons->addWidget(browse);
    buttons->addWidget(exit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_list);
    layout->addLayout(buttons);

    chooseFile = [this](QWidget* p) {
        return QFileDialog::getOpenFileName(p, kBrowseApplicationTitle, m_drives.driveFolder(u'C'),
                                            applicationFileFilter());
    };
    connect(m_list, &QListWidget::itemClicked, this, &FrmAction::List1_Click);
    connect(m_list, &QListWidget::currentRowChanged, this, &FrmAction::List1_Click);
    connect(m_select, &QPushButton::clicked, this, &FrmAction::cmdOK_Click);
    connect(browse, &QPushButton::clicked, this, &FrmAction::cmdBrowseAppl_Click);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
}

void FrmAction::List1_Click() {
    if (QListWidgetItem* item = m_list->currentItem()) {
        m_text->setText(item->text());
        m_select->setEnabled(true);
    }
}

void FrmAction::cmdBrowseAppl_Click() {
    const QString native = chooseFile(this);
    if (native.isEmpty())
        return;
    // The registry's command lines name Windows paths: a file under a drive gets its letter.
    const QString windows = m_drives.toWindows(native);
    m_text->setText((windows.isEmpty() ? native : windows) + QStringLiteral(" %1"));
    m_select->setEnabled(true);
}

void FrmAction::cmdOK_Click() {
    SelectedApplication = m_text->text();
    accept();
}

} // namespace orvanex::editing
