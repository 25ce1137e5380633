#include "editing/icon_file_picker.h"

#include "editing/icon_choice.h"
#include "editing/icon_grid.h"

#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orvanex::editing {

namespace {

constexpr int kPreviewColumns = 12;

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QPushButton* button(const char* name, const QString& text, const QString& tip) {
    auto* b = named(new QPushButton(text), name);
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
}

} // namespace

FrmIcon::FrmIcon(const QStringList& iconFiles, const platform::DriveMap& drives, QWidget* parent)
    : QDialog(parent), m_drives(drives) {
    setObjectName(QStringLiteral("frmIcon"));
    setWindowTitle(QStringLiteral("ORVANEX Select A New Default Icon File"));
    List1 = named(new QListWidget, "List1");
    Text1 = named(new QLineEdit, "Text1");
    Text1->setReadOnly(true);
    Label1 = named(new QLabel, "Label1");
    Grid1 = named(new QTableWidget, "Grid1");
    // For looking only: the icon is chosen in the main window's icon panel.
    Grid1->setSelectionMode(QAbstractItemView::NoSelection);
    Grid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid1->setFocusPolicy(Qt::NoFocus);
    Grid1->horizontalHeader()->setVisible(false);
    Grid1->verticalHeader()->setVisible(false);
    cmdIconBrowse = button("cmdIconBrowse", QStringLiteral("&Browse"),
                           QStringLiteral("Find the default icon file!"));
    cmdOK = button("cmdOK", QStringLiteral("&Select"),
                   QStringLiteral("Select the new default icon file!"));
    cmdExit =
        button("cmdExit", QStringLiteral("E&xit"), QStringLiteral("Exit the Icon file selection!"));

    const int cell = iconCellPixels(kIconPreviewCellTwips, this);
    Grid1->setFixedSize(kPreviewColumns * cell + 2 * Grid1->frameWidth() +
                            Grid1->style()->pixelMetric(QStyle::PM_ScrollBarExtent),
                        3 * cell + 2 * Grid1->frameWidth());
    List1->setFixedHeight(8 * fontMetrics().height());

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdIconBrowse);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdExit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Text1);
    layout->addWidget(List1);
    layout->addWidget(Label1);
    layout->addWidget(Grid1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(List1, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            List1_Click();
    });
    connect(cmdIconBrowse, &QPushButton::clicked, this, &FrmIcon::cmdIconBrowse_Click);
    connect(cmdOK, &QPushButton::clicked, this, &FrmIcon::cmdOK_Click);
    connect(cmdExit, &QPushButton::clicked, this, &FrmIcon::cmdExit_Click);
    Form_Load(iconFiles);
}

void FrmIcon::Form_Load(const QStringList& iconFiles) {
    List1->addItems(iconFiles);
    Text1->setText(iconFileListHeader(int(List1->count())));
    cmdOK->setEnabled(false);
}

void FrmIcon::List1_Click() {
    if (QListWidgetItem* item = List1->currentItem())
        chosen(item->text());
}

void FrmIcon::chosen(const QString& file) {
    m_hasChoice = true;
    Text1->setText(file);
    cmdOK->setEnabled(true);
    preview();
}

void FrmIcon::preview() {
    const IconSheet sheet = readIconSheet(m_drives, Text1->text(), iconReadSize(Grid1));
    Label1->setText(iconPreviewLabel(sheet.count));
    fillIconGrid(Grid1, sheet, kPreviewColumns, iconCellPixels(kIconPreviewCellTwips, this));
}

void FrmIcon::cmdIconBrowse_Click() {
    QFileDialog dialog(this, iconBrowseTitle());
    dialog.setObjectName(QStringLiteral("iconBrowseDialog"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    // Qt's own dialog: the filters work as listed on every desktop.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters(iconBrowseFilters());
    if (m_hasChoice) {
        const QString native = nativeIconPath(m_drives, Text1->text());
        if (!native.isEmpty()) {
            dialog.setDirectory(QFileInfo(native).absolutePath());
            dialog.selectFile(native);
        }
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    chosen(browsedIconFile(m_drives, dialog.selectedFiles().constFirst()));
}

void FrmIcon::cmdOK_Click() {
    m_selected = Text1->text();
    accept();
}

void FrmIcon::cmdExit_Click() {
    m_selected.clear();
    reject();
}

void FrmIcon::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    // Fixed size: a maximised picker goes back to its own size.
    if (event->type() == QEvent::WindowStateChange &&
        (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
}

QString pickIconFile(const QStringList& iconFiles, const platform::DriveMap& drives,
                     QWidget* parent) {
    FrmIcon picker(iconFiles, drives, parent);
    picker.exec();
    return picker.SelectedIconFile();
}

} // namespace orvanex::editing
