// The main window's shared state: each change is told once, with what it changed from, and the
// window's handlers tell it as the user works.

#include "editing/window_state.h"
#include "editing_world.h"
#include "ui_main_window.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::test;
using editing::ActionEditState;
using editing::EditState;
using editing::PanelOpen;
using editing::SelectBy;
using editing::WindowState;

namespace {

EditState nowOf(const QSignalSpy& spy, qsizetype i) {
    return spy.at(i).at(0).value<EditState>();
}
EditState beforeOf(const QSignalSpy& spy, qsizetype i) {
    return spy.at(i).at(1).value<EditState>();
}

} // namespace

TEST(WindowState, EachChangeIsToldOnceWithWhatItWas) {
    WindowState state;
    QSignalSpy edits(&state, &WindowState::editStateChanged);
    QSignalSpy panels(&state, &WindowState::panelChanged);
    QSignalSpy actions(&state, &WindowState::actionEditStateChanged);
    QSignalSpy shown(&state, &WindowState::entryShown);
    ASSERT_TRUE(edits.isValid() && panels.isValid() && actions.isValid());

    state.setEditState(EditState::NewType);
    state.setEditState(EditState::NewType); // no change, nothing told
    state.setEditState(EditState::NewTypeIconPanel);
    ASSERT_EQ(edits.size(), 2);
    EXPECT_EQ(nowOf(edits, 0), EditState::NewType);
    EXPECT_EQ(beforeOf(edits, 0), EditState::Nothing);
    EXPECT_EQ(nowOf(edits, 1), EditState::NewTypeIconPanel);
    EXPECT_EQ(beforeOf(edits, 1), EditState::NewType);
    EXPECT_EQ(state.editState(), EditState::NewTypeIconPanel);

    EXPECT_FALSE(state.panelOpen());
    for (PanelOpen p : {PanelOpen::Action, PanelOpen::Delete, PanelOpen::AddExtensions}) {
        state.setPanel(p);
        EXPECT_TRUE(state.panelOpen());
        EXPECT_EQ(state.panel(), p);
    }
    state.setPanel(PanelOpen::AddExtensions);
    state.setPanel(PanelOpen::None);
    EXPECT_FALSE(state.panelOpen());
    ASSERT_EQ(panels.size(), 4);
    EXPECT_EQ(panels.at(3).at(0).value<PanelOpen>(), PanelOpen::None);

    state.setActionEditState(ActionEditState::Open);
    state.setActionEditState(ActionEditState::Open);
    state.setActionEditState(ActionEditState::Closed);
    ASSERT_EQ(actions.size(), 2);
    EXPECT_EQ(actions.at(0).at(0).value<ActionEditState>(), ActionEditState::Open);

    QSignalSpy lists(&state, &WindowState::selectByChanged);
    EXPECT_EQ(state.selectBy(), SelectBy::FileExtension);
    state.setSelectBy(SelectBy::FileExtension); // the start value: nothing told
    state.setSelectBy(SelectBy::FileType);
    state.setSelectBy(SelectBy::FileType);
    EXPECT_TRUE(state.byFileType());
    state.setSelectBy(SelectBy::FileExtension);
    EXPECT_FALSE(state.byFileType());
    ASSERT_EQ(lists.size(), 2);
    EXPECT_EQ(lists.at(0).at(0).value<SelectBy>(), SelectBy::FileType);
    EXPECT_EQ(lists.at(1).at(0).value<SelectBy>(), SelectBy::FileExtension);

    // An entry shown is told every time, even when the state stays what it was.
    EXPECT_TRUE(shown.isEmpty());
    state.showEntry(EditState::EntryShown);
    state.showEntry(EditState::EntryShown);
    EXPECT_EQ(shown.size(), 2);
    EXPECT_EQ(edits.size(), 3);
    EXPECT_EQ(state.editState(), EditState::EntryShown);
}

TEST(WindowState, TheWindowTellsWhatTheUserDoes) {
    EditingWorld world(QStringLiteral("state-signals"));
    world.addStandardTypes();
    Ui::frmORVANEX* ui = world.start().form();
    WindowState& state = world.ctx().state;
    QSignalSpy edits(&state, &WindowState::editStateChanged);
    QSignalSpy panels(&state, &WindowState::panelChanged);
    QSignalSpy shown(&state, &WindowState::entryShown);

    pressRowText(ui->flex1, "TXT");
    ASSERT_EQ(edits.size(), 1);
    EXPECT_EQ(nowOf(edits, 0), EditState::EntryShown);
    EXPECT_EQ(shown.size(), 1);
    pressRowText(ui->flex1, "DOC"); // cleared, then shown: Nothing and back
    EXPECT_EQ(shown.size(), 2);
    EXPECT_EQ(nowOf(edits, edits.size() - 1), EditState::EntryShown);

    // The action grid's header row opens the panel to add an action.
    QHeaderView* header = ui->flex3->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionSize(0) / 2, header->height() / 2));
    ASSERT_EQ(panels.size(), 1);
    EXPECT_EQ(panels.last().at(0).value<PanelOpen>(), PanelOpen::Action);
    QTest::mouseClick(ui->cmdCancelAction, Qt::LeftButton);
    EXPECT_EQ(panels.last().at(0).value<PanelOpen>(), PanelOpen::None);

    ui->cmdExtNew->trigger();
    EXPECT_EQ(nowOf(edits, edits.size() - 1), EditState::NewType);
    EXPECT_EQ(shown.size(), 2); // a new type shows no entry
}

TEST(WindowState, OnlyARealSwitchOfTheListsIsTold) {
    EditingWorld world(QStringLiteral("state-lists"));
    world.addStandardTypes();
    Ui::frmORVANEX* ui = world.start().form();
    WindowState& state = world.ctx().state;
    QSignalSpy lists(&state, &WindowState::selectByChanged);

    // The buttons run their whole switch each time; the state tells only what changed.
    QTest::mouseClick(ui->cmdSelectByFileExtension, Qt::LeftButton);
    EXPECT_TRUE(lists.isEmpty());
    QTest::mouseClick(ui->cmdSelectByFileType, Qt::LeftButton);
    QTest::mouseClick(ui->cmdSelectByFileType, Qt::LeftButton);
    ASSERT_EQ(lists.size(), 1);
    EXPECT_EQ(lists.at(0).at(0).value<SelectBy>(), SelectBy::FileType);
    EXPECT_TRUE(ui->flex2->isVisible());
    EXPECT_FALSE(ui->flex1->isVisible());
    QTest::mouseClick(ui->cmdSelectByFileExtension, Qt::LeftButton);
    ASSERT_EQ(lists.size(), 2);
    EXPECT_EQ(lists.at(1).at(0).value<SelectBy>(), SelectBy::FileExtension);
    EXPECT_TRUE(ui->flex1->isVisible());

    // A new file type is entered in selection by type.
    ui->cmdExtNew->trigger();
    ASSERT_EQ(lists.size(), 3);
    EXPECT_EQ(state.selectBy(), SelectBy::FileType);
}
