// The icon scroll bar, the icon panel and the icon-file picker in the main window, on the
// default registry (shell32.dll holds 40 icons), driven by object name.

#include "../backup/backup_fixture.h"
#include "editing/editing_session.h"
#include "editing/icon_file_picker.h"
#include "editing/icon_grid.h"
#include "editing/icon_panel.h"
#include "editing_world.h"
#include "model/default_registry.h"
#include "platform/icon_file.h"
#include "registry/reg_state.h"
#include "settings/app_folder.h"
#include "support/test_env.h"
#include "ui_main_window.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QListWidget>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

using namespace orvanex;
using namespace orvanex::test;

namespace {

const QString kShell32 = QStringLiteral("C:\\WINDOWS\\SYSTEM\\shell32.dll");
const QString kMoricons = QStringLiteral("C:\\WINDOWS\\MORICONS.DLL");

// Runs work on the modal window of that object name once it is up (polled, not timed).
void whenModal(const QString& name, std::function<void(QWidget*)> work) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, name, work] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal->objectName() != name)
            return;
        poll->stop();
        poll->deleteLater();
        work(modal);
    });
    poll->start();
}

template <typename W> W* child(QWidget* parent, const char* name) {
    W* w = parent->findChild<W*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

void pressGridCell(QTableWidget* grid, int row, int column) {
    const QRect rect = grid->visualRect(grid->model()->index(row, column));
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, rect.center());
}

class IconPanel : public testing::Test {
protected:
    void SetUp() override {
        resetSettings();
        ASSERT_EQ(model::writeDefaultClasses(world.registry()), 0);
        ASSERT_EQ(model::writeDefaultIconFiles(world.driveC()), QString());
        ui = world.start().form();
        world.ctx().AppFolder = freshDir("icon-app");
        createBackupFolder(world.ctx().AppFolder);
        handlers = world.window().handlers().iconPanel.get();
        ASSERT_NE(handlers, nullptr);
    }
    void showType(const QString& description) {
        QTest::mouseClick(ui->cmdSelectByFileType, Qt::LeftButton);
        pressRowText(ui->flex2, description);
    }
    // What picIcon shows, and icon i of a file as the icon code reads it.
    QImage shownIcon() const {
        return ui->picIcon->pixmap().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    QImage fileIcon(const QString& file, int index) {
        // Read for the screen's pixel ratio, as the window reads it.
        return platform::extractIconSized(world.ctx().editing->drives.toNative(file), index,
                                          editing::iconReadSize(ui->picIcon));
    }
    QString defaultIcon(const QString& type) {
        reg::RegState state;
        state.registry = &world.registry();
        QString value;
        reg::ReadText(state, type + QStringLiteral("\\DefaultIcon"), QString(), &value);
        return value;
    }
    // Clicks "&Find" and, in the picker, the list entry named file, then "&Select".
    void findFile(const QString& file) {
        whenModal(QStringLiteral("frmIcon"), [file](QWidget* picker) {
            auto* list = child<QListWidget>(picker, "List1");
            const auto items = list->findItems(file, Qt::MatchExactly);
            ASSERT_EQ(items.size(), 1) << file.toStdString();
            list->setCurrentItem(items.first());
            QTest::mouseClick(child<QPushButton>(picker, "cmdOK"), Qt::LeftButton);
        });
        QTest::mouseClick(ui->cmdIcons, Qt::LeftButton);
    }
    bool panelOpen() { return ui->fraIcons->isVisibleTo(world.ctx().window); }

    EditingWorld world{QStringLiteral("icon-panel")};
    Ui::frmORVANEX* ui = nullptr;
    editing::IconPanelHandlers* handlers = nullptr;
};

} // namespace

TEST_F(IconPanel, IconsButtonChoosesIcon9AndApplyWritesItAfterABackup) {
    showType("Text Document");
    ASSERT_EQ(ui->txtIcon->text(), kShell32);
    ASSERT_EQ(ui->txtIconNumber->text(), "1");
    ASSERT_TRUE(ui->cmdIconView->isEnabled());
    QTest::mouseClick(ui->cmdIconView, Qt::LeftButton);

    ASSERT_TRUE(panelOpen());
    EXPECT_FALSE(ui->flex2->isVisibleTo(world.ctx().window));
    EXPECT_EQ(ui->lblScan->text(), " 40 Icons Found for " + kShell32);
    EXPECT_EQ(ui->lblTellIcons->text(), "Select icon");
    EXPECT_EQ(ui->Grid1->columnCount(), 7);
    EXPECT_EQ(ui->Grid1->rowCount(), 6);
    for (int i : {0, 9, 39}) {
        const QPixmap cell = editing::iconGridPicture(ui->Grid1, i / 7, i % 7);
        ASSERT_FALSE(cell.isNull()) << i;
        EXPECT_EQ(cell.toImage(), fileIcon(kShell32, i)) << i;
    }
    EXPECT_FALSE(ui->cmdSelect->isEnabled());
    EXPECT_FALSE(ui->cmdApply->isEnabled());
    EXPECT_FALSE(ui->cmdIcons->isEnabled());
    EXPECT_FALSE(ui->cmdFindExts->isEnabled());
    EXPECT_FALSE(ui->cmdDeleteExt->isEnabled());
    EXPECT_FALSE(ui->cmdSelectByFileExtension->isEnabled());
    EXPECT_FALSE(ui->flex3->isEnabled());
    screenshot("icon-panel-shell32.png");

    pressGridCell(ui->Grid1, 1, 2);
    EXPECT_EQ(handlers->ChosenIcon, "9");
    EXPECT_EQ(ui->lblTellIcons->text(), "");
    ASSERT_TRUE(ui->cmdSelect->isEnabled());
    // The two cells after the 40th icon hold none: pressing one chooses nothing.
    pressGridCell(ui->Grid1, 5, 5);
    EXPECT_EQ(handlers->ChosenIcon, "9");

    QTest::mouseClick(ui->cmdSelect, Qt::LeftButton);
    EXPECT_FALSE(panelOpen());
    EXPECT_TRUE(ui->flex2->isVisibleTo(world.ctx().window));
    EXPECT_EQ(ui->txtIcon->text(), kShell32);
    EXPECT_EQ(ui->txtIconNumber->text(), "9");
    EXPECT_EQ(ui->hs->value(), 9);
    EXPECT_EQ(ui->hs->maximum(), 39);
    EXPECT_TRUE(ui->hs->isEnabled());
    EXPECT_EQ(shownIcon(), fileIcon(kShell32, 9));
    EXPECT_TRUE(ui->cmdIcons->isEnabled());
    EXPECT_TRUE(ui->cmdFindExts->isEnabled());
    EXPECT_TRUE(ui->cmdDeleteExt->isEnabled());
    EXPECT_TRUE(ui->cmdSelectByFileExtension->isEnabled());
    EXPECT_TRUE(ui->flex3->isEnabled());
    EXPECT_FALSE(ui->cmdSelect->isEnabled());
    EXPECT_EQ(world.ctx().state.editState(), editing::EditState::EntryShown);
    ASSERT_TRUE(ui->cmdApply->isEnabled());

    QTest::mouseClick(ui->cmdApply, Qt::LeftButton);
    EXPECT_EQ(ui->lblScan->text(), "Text Document Updated!   Backup=Reg1000");
    EXPECT_EQ(defaultIcon("txtfile"), kShell32 + ",9");
    const QByteArray backup = readFile(world.ctx().AppFolder + "/Backup/Reg1000.reg");
    EXPECT_TRUE(backup.contains("shell32.dll,1")) << backup.constData();
}

TEST_F(IconPanel, ScrollBarStepsToBothEndsAndFallsBackToIconZero) {
    showType("Text Document");
    ASSERT_TRUE(ui->hs->isEnabled());
    ASSERT_EQ(ui->hs->maximum(), 39);
    ASSERT_FALSE(ui->cmdApply->isEnabled());

    ui->hs->setValue(39);
    EXPECT_EQ(ui->txtIconNumber->text(), "39");
    EXPECT_EQ(shownIcon(), fileIcon(kShell32, 39));
    EXPECT_TRUE(ui->cmdApply->isEnabled());
    ui->hs->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(ui->hs->value(), 39);
    EXPECT_EQ(ui->txtIconNumber->text(), "39");

    ui->hs->setValue(0);
    EXPECT_EQ(ui->txtIconNumber->text(), "0");
    EXPECT_EQ(shownIcon(), fileIcon(kShell32, 0));
    ui->hs->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(ui->hs->value(), 0);
    ui->hs->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(ui->txtIconNumber->text(), "1");
    EXPECT_EQ(shownIcon(), fileIcon(kShell32, 1));

    // A number past the file's icons (one restored from an update slot): icon 0.
    ui->txtIconNumber->setText("40");
    ui->hs->setValue(5);
    EXPECT_EQ(ui->hs->value(), 0);
    EXPECT_EQ(ui->txtIconNumber->text(), "0");
    EXPECT_EQ(shownIcon(), fileIcon(kShell32, 0));
}

TEST_F(IconPanel, FindThenCancelRestoresTheFileAndNumber) {
    showType("Text Document");
    bool checked = false;
    whenModal(QStringLiteral("frmIcon"), [&](QWidget* picker) {
        EXPECT_EQ(picker->windowTitle(), "ORVANEX Select A New Default Icon File");
        auto* text = child<QLineEdit>(picker, "Text1");
        auto* list = child<QListWidget>(picker, "List1");
        auto* ok = child<QPushButton>(picker, "cmdOK");
        EXPECT_EQ(text->text(), editing::iconFileListHeader(int(list->count())));
        EXPECT_GE(list->count(), 10);
        EXPECT_FALSE(ok->isEnabled());
        list->setCurrentItem(list->findItems(kShell32, Qt::MatchExactly).value(0));
        EXPECT_EQ(text->text(), kShell32);
        EXPECT_TRUE(ok->isEnabled());
        EXPECT_TRUE(child<QLabel>(picker, "Label1")->text().startsWith("40     icons for view"));
        auto* preview = child<QTableWidget>(picker, "Grid1");
        EXPECT_EQ(editing::iconGridPicture(preview, 0, 0).toImage(), fileIcon(kShell32, 0));
        EXPECT_EQ(preview->selectionMode(), QAbstractItemView::NoSelection);
        screenshot("icon-picker-preview.png");
        list->setCurrentItem(list->findItems(kMoricons, Qt::MatchExactly).value(0));
        checked = true;
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    QTest::mouseClick(ui->cmdIcons, Qt::LeftButton);
    ASSERT_TRUE(checked);

    ASSERT_TRUE(panelOpen());
    EXPECT_EQ(world.ctx().state.editState(), editing::EditState::IconPanel);
    EXPECT_EQ(ui->txtIcon->text(), kMoricons);
    EXPECT_EQ(ui->txtIconNumber->text(), "");
    EXPECT_EQ(ui->lblScan->text(), " 12 Icons Found for " + kMoricons);
    EXPECT_FALSE(ui->hs->isEnabled());
    EXPECT_FALSE(ui->cmdApply->isEnabled());
    EXPECT_EQ(handlers->SavedIconFile, kShell32);
    EXPECT_EQ(handlers->SavedIconNumber, "1");

    QTest::mouseClick(ui->cmdCancel, Qt::LeftButton);
    EXPECT_FALSE(panelOpen());
    EXPECT_EQ(world.ctx().state.editState(), editing::EditState::EntryShown);
    EXPECT_EQ(ui->txtIcon->text(), kShell32);
    EXPECT_EQ(ui->txtIconNumber->text(), "1");
    EXPECT_FALSE(ui->cmdApply->isEnabled());
    EXPECT_TRUE(ui->hs->isEnabled());
    EXPECT_TRUE(ui->cmdIcons->isEnabled());
    // Shown again as an entry: the bar enables Apply once more.
    ui->hs->setValue(3);
    EXPECT_TRUE(ui->cmdApply->isEnabled());
}

TEST_F(IconPanel, FindThenSelectKeepsTheEntryInState2) {
    showType("Text Document");
    ui->chkQuickView->setChecked(!ui->chkQuickView->isChecked());
    ASSERT_TRUE(ui->cmdApply->isEnabled());
    findFile(kMoricons);
    ASSERT_TRUE(panelOpen());
    pressGridCell(ui->Grid1, 1, 4);
    QTest::mouseClick(ui->cmdSelect, Qt::LeftButton);
    EXPECT_EQ(ui->txtIcon->text(), kMoricons);
    EXPECT_EQ(ui->txtIconNumber->text(), "11");
    EXPECT_EQ(ui->hs->maximum(), 11);
    EXPECT_EQ(ui->hs->value(), 11);
    EXPECT_EQ(shownIcon(), fileIcon(kMoricons, 11));
    EXPECT_EQ(world.ctx().state.editState(), editing::EditState::IconPanel);
    EXPECT_TRUE(ui->cmdApply->isEnabled());
    // In state 2 neither the bar nor the icon field enable Apply again.
    ui->cmdApply->setEnabled(false);
    ui->hs->setValue(2);
    EXPECT_EQ(ui->txtIconNumber->text(), "2");
    ui->txtIcon->setText(kMoricons + " ");
    EXPECT_FALSE(ui->cmdApply->isEnabled());
}

TEST_F(IconPanel, NewFileTypeStaysInState3WhileItsIconIsChosen) {
    ui->cmdExtNew->trigger();
    ASSERT_EQ(world.ctx().state.editState(), editing::EditState::NewType);
    EXPECT_FALSE(ui->cmdFindExts->isEnabled());
    findFile(kShell32);
    ASSERT_TRUE(panelOpen());
    EXPECT_EQ(world.ctx().state.editState(), editing::EditState::NewType);
    pressGridCell(ui->Grid1, 0, 3);
    QTest::mouseClick(ui->cmdSelect, Qt::LeftButton);
    EXPECT_EQ(world.ctx().state.editState(), editing::EditState::NewType);
    EXPECT_EQ(ui->txtIcon->text(), kShell32);
    EXPECT_EQ(ui->txtIconNumber->text(), "3");
    // What a new type had off stays off.
    EXPECT_FALSE(ui->cmdFindExts->isEnabled());
    EXPECT_FALSE(ui->cmdDeleteExt->isEnabled());
    EXPECT_FALSE(ui->mnuBackup->isEnabled());

    // Cancelling a second choice restores the first and keeps state 3.
    findFile(kMoricons);
    QTest::mouseClick(ui->cmdCancel, Qt::LeftButton);
    EXPECT_EQ(world.ctx().state.editState(), editing::EditState::NewType);
    EXPECT_EQ(ui->txtIcon->text(), kShell32);
    EXPECT_EQ(ui->txtIconNumber->text(), "3");
}

TEST_F(IconPanel, PickerBrowsesAndExitsWithoutAChoice) {
    showType("Text Document");
    const QString native = world.driveC() + "/WINDOWS/SYSTEM/shell32.dll";
    bool browsed = false;
    whenModal(QStringLiteral("frmIcon"), [&](QWidget* picker) {
        whenModal(QStringLiteral("iconBrowseDialog"), [&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), "ORVANEX - Browse for icon file.");
            EXPECT_EQ(dialog->nameFilters(), editing::iconBrowseFilters());
            dialog->selectFile(native);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        QTest::mouseClick(child<QPushButton>(picker, "cmdIconBrowse"), Qt::LeftButton);
        EXPECT_EQ(child<QLineEdit>(picker, "Text1")->text(), kShell32);
        EXPECT_TRUE(child<QPushButton>(picker, "cmdOK")->isEnabled());
        EXPECT_TRUE(child<QLabel>(picker, "Label1")->text().startsWith("40 "));
        browsed = true;
        QTest::mouseClick(child<QPushButton>(picker, "cmdExit"), Qt::LeftButton);
    });
    QTest::mouseClick(ui->cmdIcons, Qt::LeftButton);
    EXPECT_TRUE(browsed);
    EXPECT_FALSE(panelOpen());
    EXPECT_EQ(handlers->SelectedIconFile, "");
    EXPECT_EQ(world.ctx().state.editState(), editing::EditState::EntryShown);
    EXPECT_EQ(ui->txtIcon->text(), kShell32);
    EXPECT_TRUE(ui->cmdIcons->isEnabled());
}

TEST_F(IconPanel, IconsButtonOnOtherKindsOfFile) {
    showType("Text Document");
    // An icon file: its one icon.
    ui->txtIcon->setText("C:\\WINDOWS\\ICONS\\font.ico");
    QTest::mouseClick(ui->cmdIconView, Qt::LeftButton);
    ASSERT_TRUE(panelOpen());
    EXPECT_EQ(ui->lblTellIcons->text(), "Select Icon");
    EXPECT_FALSE(editing::iconGridPicture(ui->Grid1, 0, 0).isNull());
    EXPECT_TRUE(editing::iconGridPicture(ui->Grid1, 0, 1).isNull());
    QTest::mouseClick(ui->cmdCancel, Qt::LeftButton);
    EXPECT_TRUE(ui->cmdApply->isEnabled()); // the typed icon had enabled it

    // A library that is not there: the panel opens empty.
    ui->txtIcon->setText("C:\\WINDOWS\\gone.dll");
    QTest::mouseClick(ui->cmdIconView, Qt::LeftButton);
    ASSERT_TRUE(panelOpen());
    EXPECT_EQ(ui->lblScan->text(), "No Icons Found for C:\\WINDOWS\\gone.dll");
    EXPECT_EQ(ui->lblTellIcons->text(), "No Icons Founds");
    pressGridCell(ui->Grid1, 0, 0);
    EXPECT_FALSE(ui->cmdSelect->isEnabled());
    QTest::mouseClick(ui->cmdCancel, Qt::LeftButton);

    // A file that cannot hold icons: the panel stays shut.
    ui->txtIcon->setText("%1");
    QTest::mouseClick(ui->cmdIconView, Qt::LeftButton);
    EXPECT_FALSE(panelOpen());
    EXPECT_EQ(ui->lblScan->text(), "No Icons Found for %1");
}

TEST_F(IconPanel, KeyboardChoosesWithArrowsAndAcceptsWithEnter) {
    showType("Text Document");
    QTest::mouseClick(ui->cmdIconView, Qt::LeftButton);
    ASSERT_TRUE(panelOpen());
    ui->Grid1->setFocus();
    ui->Grid1->setCurrentCell(0, 6);
    EXPECT_EQ(handlers->ChosenIcon, "6");
    QTest::keyClick(ui->Grid1, Qt::Key_Down);
    EXPECT_EQ(handlers->ChosenIcon, "13");
    EXPECT_TRUE(ui->cmdSelect->isEnabled());
    QTest::keyClick(ui->Grid1, Qt::Key_Return);
    EXPECT_FALSE(panelOpen());
    EXPECT_EQ(ui->txtIconNumber->text(), "13");
    EXPECT_EQ(ui->hs->value(), 13);
}

TEST_F(IconPanel, ProtectedEntryKeepsItsDeleteOffAfterThePanel) {
    pressRowText(ui->flex1, "BAT");
    ASSERT_EQ(ui->txtIcon->text(), kShell32);
    ASSERT_FALSE(ui->cmdDeleteExt->isEnabled());
    ASSERT_TRUE(ui->cmdFindExts->isEnabled());
    QTest::mouseClick(ui->cmdIconView, Qt::LeftButton);
    ASSERT_TRUE(panelOpen());
    EXPECT_FALSE(ui->flex1->isVisibleTo(world.ctx().window));
    pressGridCell(ui->Grid1, 0, 2);
    QTest::mouseClick(ui->cmdSelect, Qt::LeftButton);
    EXPECT_TRUE(ui->flex1->isVisibleTo(world.ctx().window));
    EXPECT_FALSE(ui->flex2->isVisibleTo(world.ctx().window));
    EXPECT_FALSE(ui->cmdDeleteExt->isEnabled());
    EXPECT_TRUE(ui->cmdFindExts->isEnabled());
    EXPECT_EQ(ui->txtIconNumber->text(), "2");
}

TEST(IconPictures, ImagesReadForADenseScreenKeepTheirLogicalSize) {
    QImage dense(64, 64, QImage::Format_ARGB32_Premultiplied);
    dense.fill(Qt::red);
    const QPixmap pixmap = editing::iconPixmap(dense);
    EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(32, 32));
    EXPECT_EQ(pixmap.size(), QSize(64, 64));
    EXPECT_TRUE(editing::iconPixmap(QImage()).isNull());

    // A picture label draws it at the standard icon size.
    QLabel label;
    editing::showIconPicture(&label, pixmap);
    EXPECT_EQ(label.pixmap().deviceIndependentSize(), QSizeF(32, 32));
    EXPECT_EQ(label.pixmap().toImage().pixelColor(20, 20), QColor(Qt::red));
}
