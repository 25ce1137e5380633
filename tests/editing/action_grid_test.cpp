// The action grid's clicks, the Use DDE toggle and the rule that enables the apply buttons.

#include "editing_world.h"
#include "ui_main_window.h"

#include <QHeaderView>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::test;

namespace {

class ActionGrid : public ::testing::Test {
protected:
    ActionGrid() : world(QStringLiteral("actions")) {
        world.addStandardTypes();
        ui = world.start().form();
    }
    void clickHeader() {
        QHeaderView* header = ui->flex3->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionSize(0) / 2, header->height() / 2));
    }
    void clickRow(int tableRow) {
        const QRect rect = ui->flex3->visualRect(ui->flex3->model()->index(tableRow, 0));
        QTest::mouseClick(ui->flex3->viewport(), Qt::LeftButton, {}, rect.center());
    }
    bool ddeBoxesDarkBlueAndOff() const {
        for (QLineEdit* box : {ui->txtDDEMsg, ui->txtDDEAppl, ui->txtDDENot, ui->txtDDETopic})
            if (box->isEnabled() || box->palette().color(QPalette::Base) != QColor(0, 0, 0x80))
                return false;
        return true;
    }

    EditingWorld world;
    Ui::frmORVANEX* ui = nullptr;
    MainContext& ctx() { return world.ctx(); }
};

} // namespace

TEST_F(ActionGrid, AddingIsRefusedWithoutASelection) {
    clickHeader();
    EXPECT_EQ(ui->lblScan->text(), QStringLiteral("Please make selection first!"));
    EXPECT_EQ(ctx().state.panel(), editing::PanelOpen::None);
    EXPECT_FALSE(ui->fraAction->isVisible());
}

TEST_F(ActionGrid, AddingIsRefusedForBlankFields) {
    pressRowText(ui->flex1, "TXT");
    ui->txtDesc->clear();
    clickHeader();
    EXPECT_EQ(ui->lblScan->text(), QStringLiteral("Registered File Type Blank!"));
    ui->txtDesc->setText("Text Document");
    ui->txtExt->clear();
    ui->txtRel->clear();
    clickHeader();
    EXPECT_EQ(ui->lblScan->text(), QStringLiteral("File Extension(s) Blank!"));
    EXPECT_EQ(ctx().state.panel(), editing::PanelOpen::None);
}

TEST_F(ActionGrid, NewFileTypeMustBeAppliedFirst) {
    pressRowText(ui->flex1, "TXT");
    ctx().state.setEditState(editing::EditState::NewType);
    clickHeader();
    EXPECT_EQ(ui->lblScan->text(),
              QStringLiteral("Enter The 'Apply' Button First To Add The Extension(s)!"));
    EXPECT_FALSE(ui->fraAction->isVisible());
    clickRow(0);
    EXPECT_EQ(ctx().state.panel(), editing::PanelOpen::None);
}

TEST_F(ActionGrid, HeaderOpensThePanelToAdd) {
    pressRowText(ui->flex1, "TXT");
    clickHeader();
    EXPECT_EQ(ctx().state.panel(), editing::PanelOpen::Action);
    EXPECT_TRUE(ctx().state.addingAction());
    EXPECT_EQ(ctx().state.actionEditState(), editing::ActionEditState::Open);
    EXPECT_TRUE(ui->fraAction->isVisible());
    EXPECT_TRUE(ddeBoxesDarkBlueAndOff());
    EXPECT_FALSE(ui->cmdOKAction->isEnabled());
    EXPECT_FALSE(ui->cmdDeleteAction->isEnabled());
    EXPECT_EQ(ui->lblScan->text(),
              QStringLiteral("Enter The Information For The Action Add Request!"));
    QTest::keyClicks(ui->txtActionName, "Edit");
    EXPECT_TRUE(ui->cmdOKAction->isEnabled());
}

TEST_F(ActionGrid, ActionRowOpensItForChangeAndDdeToggles) {
    pressRowText(ui->flex1, "TXT");
    clickRow(20); // a padding row: nothing happens
    EXPECT_EQ(ctx().state.panel(), editing::PanelOpen::None);
    ui->mnuUpdate01->setEnabled(true);

    clickRow(1); // "Print", with DDE
    EXPECT_EQ(ctx().state.panel(), editing::PanelOpen::Action);
    EXPECT_FALSE(ctx().state.addingAction());
    EXPECT_EQ(ctx().state.actionEditState(), editing::ActionEditState::Open);
    EXPECT_FALSE(ui->mnuUpdate01->isEnabled());
    EXPECT_EQ(ui->txtActionName->text(), QStringLiteral("&Print"));
    EXPECT_EQ(ui->txtAppl->text(), QStringLiteral("C:\\WINDOWS\\NOTEPAD.EXE /p %1"));
    EXPECT_FALSE(ui->chkSetDefault->isChecked());
    EXPECT_TRUE(ui->chkDDE->isChecked());
    EXPECT_EQ(ui->txtDDEMsg->text(), QStringLiteral("[print(\"%1\")]"));
    EXPECT_EQ(ui->txtDDEAppl->text(), QStringLiteral("notepad"));
    EXPECT_EQ(ui->txtDDETopic->text(), QStringLiteral("System"));
    EXPECT_TRUE(ui->txtDDEMsg->isEnabled());
    EXPECT_FALSE(ui->cmdOKAction->isEnabled());
    EXPECT_TRUE(ui->cmdDeleteAction->isEnabled());
    EXPECT_EQ(ui->lblScan->text(), QStringLiteral("Enter Changes to Action &Print"));

    ui->chkDDE->click(); // off: emptied, locked, dark blue
    EXPECT_TRUE(ddeBoxesDarkBlueAndOff());
    EXPECT_TRUE(ui->txtDDEMsg->text().isEmpty());
    EXPECT_TRUE(ui->cmdOKAction->isEnabled());
    ui->chkDDE->click(); // on again: the values of the opened action come back
    EXPECT_TRUE(ui->txtDDEAppl->isEnabled());
    EXPECT_EQ(ui->txtDDEAppl->palette().color(QPalette::Base), QColor(255, 255, 255));
    EXPECT_EQ(ui->txtDDEMsg->text(), QStringLiteral("[print(\"%1\")]"));
    EXPECT_EQ(ui->txtDDETopic->text(), QStringLiteral("System"));

    // While the panel is open, the entry grids answer with a hint only.
    pressRowText(ui->flex1, "DOC");
    EXPECT_EQ(ui->lblScan->text(), QStringLiteral("Please Select Option!"));
}

TEST_F(ActionGrid, DefaultActionWithoutDdeHasLockedBoxes) {
    pressRowText(ui->flex1, "TXT");
    clickRow(0);
    EXPECT_EQ(ui->txtActionName->text(), QStringLiteral("open"));
    EXPECT_TRUE(ui->chkSetDefault->isChecked());
    EXPECT_FALSE(ui->chkDDE->isChecked());
    EXPECT_TRUE(ddeBoxesDarkBlueAndOff());
    EXPECT_FALSE(ui->cmdOKAction->isEnabled());
}

TEST_F(ActionGrid, ApplyEnableRules) {
    // Nothing shown: no edit enables Apply.
    ui->chkQuickView->click();
    ui->txtDesc->setText("x");
    EXPECT_FALSE(ui->cmdApply->isEnabled());

    pressRowText(ui->flex1, "TXT");
    ui->chkQuickView->click();
    EXPECT_TRUE(ui->cmdApply->isEnabled());

    struct Case {
        editing::EditState editState;
        bool descEnables, iconEnables, hsEnables, flagEnables;
    };
    using editing::EditState;
    for (const Case& c : {Case{EditState::EntryShown, true, true, true, true},
                          Case{EditState::IconPanel, false, false, false, true},
                          Case{EditState::NewType, true, true, false, true},
                          Case{EditState::NewTypeIconPanel, true, false, false, true}}) {
        SCOPED_TRACE(int(c.editState));
        ctx().state.setEditState(c.editState);
        auto enabledBy = [&](auto edit) {
            ui->cmdApply->setEnabled(false);
            edit();
            return ui->cmdApply->isEnabled();
        };
        EXPECT_EQ(enabledBy([&] { ui->txtDesc->setText(ui->txtDesc->text() + "d"); }),
                  c.descEnables);
        EXPECT_EQ(enabledBy([&] { ui->txtRel->setText(ui->txtRel->text() + "r"); }), c.descEnables);
        EXPECT_EQ(enabledBy([&] { ui->txtIcon->setText(ui->txtIcon->text() + "i"); }),
                  c.iconEnables);
        EXPECT_EQ(enabledBy([&] { ui->hs->setValue(ui->hs->value() == 0 ? 1 : 0); }), c.hsEnables);
        EXPECT_EQ(enabledBy([&] { ui->chkAlwaysShow->click(); }), c.flagEnables);
    }
}

TEST_F(ActionGrid, ActionFieldsEnableOnlyWhileAnActionIsOpen) {
    pressRowText(ui->flex1, "TXT");
    ui->cmdOKAction->setEnabled(false);
    ui->txtAppl->setText("x");
    EXPECT_FALSE(ui->cmdOKAction->isEnabled());
    clickRow(0);
    ASSERT_EQ(ctx().state.actionEditState(), editing::ActionEditState::Open);
    for (auto edit : std::initializer_list<std::function<void()>>{
             [&] { ui->chkSetDefault->click(); }, [&] { ui->txtAppl->setText("a b c d e f"); },
             [&] { ui->txtDDENot->setText("n"); }, [&] { ui->txtDDETopic->setText("t"); }}) {
        ui->cmdOKAction->setEnabled(false);
        edit();
        EXPECT_TRUE(ui->cmdOKAction->isEnabled());
    }
}
