#include "editing/icon_panel.h"

#include "editing/editing_session.h"
#include "editing/icon_choice.h"
#include "editing/icon_file_picker.h"
#include "editing/icon_grid.h"
#include "editing/main_context.h"
#include "model/icon_location.h"
#include "platform/icon_extract.h"
#include "ui_main_window.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QSignalBlocker>

namespace orvanex::editing {

namespace {

bool isOn(QObject* control) {
    if (auto* action = qobject_cast<QAction*>(control))
        return action->isEnabled();
    return static_cast<QWidget*>(control)->isEnabled();
}

void setOn(QObject* control, bool on) {
    if (auto* action = qobject_cast<QAction*>(control))
        action->setEnabled(on);
    else
        static_cast<QWidget*>(control)->setEnabled(on);
}

int fileIconCount(MainContext& ctx, const QString& file) {
    const QString native = nativeIconPath(editingSession(ctx).drives, file);
    return native.isEmpty() ? 0 : platform::extractIconCount(native);
}

} // namespace

IconPanelHandlers::IconPanelHandlers(MainContext& ctx, QObject* parent)
    : QObject(parent), m_ctx(ctx) {
    Ui::frmORVANEX* ui = ctx.ui;
    pickIconFile = [this] {
        return editing::pickIconFile(editingSession(m_ctx).lists.iconFiles.items(),
                                     editingSession(m_ctx).drives, m_ctx.window);
    };
    ui->Grid1->setIconSize(QSize(32, 32));
    ui->cmdSelect->setEnabled(false);
    connect(ui->hs, &QScrollBar::valueChanged, this, &IconPanelHandlers::hs_Change);
    connect(ui->cmdIcons, &QPushButton::clicked, this, &IconPanelHandlers::cmdIcons_Click);
    connect(ui->cmdIconView, &QPushButton::clicked, this, &IconPanelHandlers::cmdIconView_Click);
    connect(ui->Grid1, &QTableWidget::cellPressed, this, &IconPanelHandlers::Grid1_MouseDown);
    // Arrow keys choose too.
    connect(ui->Grid1, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        if (row >= 0 && column >= 0 && m_ctx.ui->fraIcons->isVisible())
            Grid1_MouseDown(row, column);
    });
    // Enter (or a double click) on an icon chooses and accepts it at once.
    connect(ui->Grid1, &QTableWidget::cellActivated, this, [this](int row, int column) {
        Grid1_MouseDown(row, column);
        if (m_ctx.ui->cmdSelect->isEnabled())
            cmdSelect_Click();
    });
    connect(ui->cmdSelect, &QPushButton::clicked, this, &IconPanelHandlers::cmdSelect_Click);
    connect(ui->cmdCancel, &QPushButton::clicked, this, &IconPanelHandlers::cmdCancel_Click);
}

void IconPanelHandlers::hs_Change() {
    // The detail view places the bar and draws the loaded icon itself (EditState 0 meanwhile);
    // the bar moving again inside this handler is part of the same step.
    if (m_ctx.state.editState() == EditState::Nothing || m_stepping)
        return;
    m_stepping = true;
    Ui::frmORVANEX* ui = m_ctx.ui;
    if (ui->txtIconNumber->text().isEmpty())
        ui->txtIconNumber->setText(QStringLiteral("0"));
    IconValue = iconNumberValue(ui->txtIconNumber->text());
    IconFile = ui->txtIcon->text();
    IconCount = fileIconCount(m_ctx, IconFile);
    const IconStep step =
        stepIcon(ui->txtIconNumber->text(), IconCount, ui->hs->value(), SyncScrollBar);
    {
        const QSignalBlocker hold(ui->hs);
        ui->hs->setMaximum(step.maximum);
        ui->hs->setValue(step.value);
    }
    if (m_ctx.state.editState() == EditState::EntryShown)
        ui->cmdApply->setEnabled(true);
    showIconPicture(ui->picIcon, editingSession(m_ctx).drives, IconFile, step.value);
    ui->txtIconNumber->setText(QString::number(step.value));
    m_stepping = false;
}

void IconPanelHandlers::cmdIcons_Click() {
    Ui::frmORVANEX* ui = m_ctx.ui;
    SelectedIconFile.clear();
    SelectedIconFile = pickIconFile ? pickIconFile() : QString();
    if (SelectedIconFile.isEmpty())
        return;
    for (int i = 0; i < 4; ++i)
        QCoreApplication::processEvents();
    ui->lblTellIcons->setText(QStringLiteral("Retrieving Icons"));
    SavedIconFile = ui->txtIcon->text();
    SavedIconNumber = ui->txtIconNumber->text().trimmed();
    ui->hs->setEnabled(false);
    ApplyWasEnabled = ui->cmdApply->isEnabled();
    ui->cmdApply->setEnabled(false);
    // 4 keeps the field edits below from counting as an edit of a new type; it ends as 3.
    m_ctx.state.setEditState(m_ctx.state.editState() == EditState::NewType
                                 ? EditState::NewTypeIconPanel
                                 : EditState::IconPanel);
    ui->txtIcon->setText(SelectedIconFile);
    ui->txtIconNumber->clear();
    if (m_ctx.state.editState() == EditState::NewTypeIconPanel)
        m_ctx.state.setEditState(EditState::NewType);
    IconFile = SelectedIconFile;
    openPanel(QStringLiteral("No icons"));
}

void IconPanelHandlers::cmdIconView_Click() {
    Ui::frmORVANEX* ui = m_ctx.ui;
    const IconViewTarget target = iconViewTarget(ui->txtIcon->text());
    IconKind = model::SplitIconLocation(ui->txtIcon->text()).Kind;
    if (target.kind == IconViewKind::None) {
        ui->lblScan->setText(noIconsStatus(ui->txtIcon->text()));
        return;
    }
    IconFile = target.file;
    ApplyWasEnabled = ui->cmdApply->isEnabled();
    ui->cmdApply->setEnabled(false);
    ui->hs->setEnabled(false);
    ui->lblTellIcons->setText(QStringLiteral("Retrieving Icons"));
    openPanel(QStringLiteral("No Icons Founds"));
    if (target.kind == IconViewKind::Single && IconCount >= 1)
        ui->lblTellIcons->setText(QStringLiteral("Select Icon"));
}

void IconPanelHandlers::openPanel(const QString& noIcons) {
    Ui::frmORVANEX* ui = m_ctx.ui;
    ui->flex1->setVisible(false);
    ui->flex2->setVisible(false);
    ui->fraIcons->setVisible(true);
    ui->fraIcons->raise();
    ui->cmdIconView->setEnabled(false);
    ui->cmdIcons->setEnabled(false);
    ui->cmdSelect->setEnabled(false);
    ChosenIcon.clear();
    m_lockedWasEnabled.clear();
    for (QObject* control : panelLockedControls()) {
        m_lockedWasEnabled.append(isOn(control));
        setOn(control, false);
    }
    const IconSheet sheet =
        readIconSheet(editingSession(m_ctx).drives, IconFile, iconReadSize(ui->Grid1));
    IconCount = sheet.count;
    ui->lblScan->setText(iconsFoundStatus(IconCount, IconFile));
    fillIconGrid(ui->Grid1, sheet, kIconsPerRow, iconCellPixels(kIconPanelCellTwips, ui->Grid1));
    ui->Grid1->setCurrentCell(-1, -1);
    // Focus on Cancel: a grid taking the focus makes its first cell current, which would choose
    // icon 0 before the user did.
    ui->cmdCancel->setFocus();
    if (IconCount >= 1) {
        ui->lblTellIcons->setText(QStringLiteral("Select icon"));
    } else {
        ui->lblScan->setText(noIconsStatus(ui->txtIcon->text()));
        ui->lblTellIcons->setText(noIcons);
    }
}

void IconPanelHandlers::Grid1_MouseDown(int row, int column) {
    // A cell past the last icon holds none: choosing it would name an icon the file lacks.
    const int number = iconNumberAt(row, column);
    if (row < 0 || column < 0 || number >= IconCount)
        return;
    m_ctx.ui->lblTellIcons->clear();
    ChosenIcon = QString::number(number);
    m_ctx.ui->cmdSelect->setEnabled(true);
}

void IconPanelHandlers::cmdSelect_Click() {
    Ui::frmORVANEX* ui = m_ctx.ui;
    if (ChosenIcon.isEmpty())
        return;
    const int chosen = ChosenIcon.toInt();
    ui->hs->setEnabled(true);
    showIconPicture(ui->picIcon,
                    iconGridPicture(ui->Grid1, iconRowOf(chosen), iconColumnOf(chosen)));
    ui->cmdApply->setEnabled(true);
    closePanel();
    ui->txtIconNumber->setText(ChosenIcon);
    SavedIconFile = ui->txtIcon->text();
    SavedIconNumber = ui->txtIconNumber->text().trimmed();
    ui->txtIcon->setText(IconFile);
    IconCount = fileIconCount(m_ctx, IconFile);
    if (IconCount > 1) {
        SyncScrollBar = true;
        ui->hs->setEnabled(true);
        {
            const QSignalBlocker hold(ui->hs);
            ui->hs->setMaximum(IconCount - 1);
            ui->hs->setValue(chosen);
        }
        hs_Change();
    }
}

void IconPanelHandlers::cmdCancel_Click() {
    Ui::frmORVANEX* ui = m_ctx.ui;
    ui->hs->setEnabled(true);
    ui->picIcon->setVisible(true);
    if (m_ctx.state.editState() == EditState::IconPanel ||
        m_ctx.state.editState() == EditState::NewType) {
        ui->txtIcon->setText(SavedIconFile);
        ui->txtIconNumber->setText(SavedIconNumber);
        if (m_ctx.state.editState() == EditState::IconPanel)
            m_ctx.state.setEditState(EditState::EntryShown);
    }
    closePanel();
    if (ApplyWasEnabled)
        ui->cmdApply->setEnabled(true);
}

void IconPanelHandlers::closePanel() {
    Ui::frmORVANEX* ui = m_ctx.ui;
    ui->fraIcons->setVisible(false);
    ui->flex2->setVisible(m_ctx.state.byFileType());
    ui->flex1->setVisible(!m_ctx.state.byFileType());
    ui->cmdIcons->setEnabled(true);
    ui->cmdIconView->setEnabled(true);
    ui->cmdSelect->setEnabled(false);
    const bool shownEntry = m_ctx.state.editState() != EditState::NewType;
    const QList<QObject*> locked = panelLockedControls();
    for (int i = 0; i < locked.size() && i < m_lockedWasEnabled.size(); ++i) {
        bool rule = true;
        if (i < 2)
            rule = shownEntry;
        else if (i == 2)
            rule = shownEntry && m_ctx.state.byFileType();
        // What was off when the panel opened (a protected entry's delete) stays off.
        setOn(locked[i], rule && m_lockedWasEnabled[i]);
    }
    m_lockedWasEnabled.clear();
}

// In this order: the two entry commands, adding extensions to a type, then the rest. The
// selection controls and the action grid are held too: another entry shown, or the action panel
// opened, under the icon panel would leave Cancel restoring fields that no longer belong there.
QList<QObject*> IconPanelHandlers::panelLockedControls() const {
    Ui::frmORVANEX* ui = m_ctx.ui;
    return {
        ui->cmdDeleteExt,        ui->mnuBackup,   ui->mnuAddExtType, ui->cmdExtNew,
        ui->cmdPrintDetail,      ui->cmdFindExts, ui->cmdBackSystem, ui->cmdSelectByFileExtension,
        ui->cmdSelectByFileType, ui->Combo1,      ui->Combo2,        ui->flex3};
}

} // namespace orvanex::editing
