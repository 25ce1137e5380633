// The detail panel after a click on a row: status texts of the icon cases, the drawn icon,
// flags, actions and the protected entries.

#include "editing_world.h"
#include "ui_main_window.h"

#include <QImage>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::test;

namespace {

class DetailView : public ::testing::Test {
protected:
    DetailView() : world(QStringLiteral("detail")) {
        world.addStandardTypes();
        ui = world.start().form();
    }
    void showExt(const QString& ext) { pressRowText(ui->flex1, ext); }
    void showType(const QString& description) {
        ui->cmdSelectByFileType->click();
        pressRowText(ui->flex2, description);
    }
    // Some pixel of the picture is drawn (not transparent).
    bool iconDrawn() const {
        const QPixmap pixmap = ui->picIcon->pixmap();
        if (pixmap.isNull())
            return false;
        const QImage image = pixmap.toImage();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(image.pixel(x, y)) > 0)
                    return true;
        return false;
    }

    EditingWorld world;
    Ui::frmORVANEX* ui = nullptr;
};

} // namespace

TEST_F(DetailView, DllWithoutFolderIsFoundInTheSystemFolder) {
    showExt("TXT");
    EXPECT_EQ(ui->lblScan->text(),
              QStringLiteral(" 3 Icons Found for C:\\WINDOWS\\SYSTEM\\icons.dll"));
    EXPECT_EQ(ui->txtIcon->text(), QStringLiteral("C:\\WINDOWS\\SYSTEM\\icons.dll"));
    EXPECT_EQ(ui->txtIconNumber->text(), QStringLiteral("1"));
    EXPECT_TRUE(iconDrawn());
    EXPECT_TRUE(ui->hs->isEnabled());
    EXPECT_EQ(ui->hs->maximum(), 2);
    EXPECT_EQ(ui->hs->value(), 1);
    EXPECT_TRUE(ui->cmdIconView->isEnabled());
    EXPECT_TRUE(ui->cmdIcons->isEnabled());
    EXPECT_EQ(world.ctx().state.editState(), editing::EditState::EntryShown);
    EXPECT_EQ(world.ctx().CurrentTypeKey, QStringLiteral("txtfile"));
    EXPECT_FALSE(ui->cmdApply->isEnabled()); // loading is not an edit
}

TEST_F(DetailView, ExtensionShowsFieldsFlagsAndActions) {
    showExt("TXT");
    EXPECT_EQ(ui->txtExt->text(), QStringLiteral("TXT"));
    EXPECT_EQ(ui->txtDesc->text(), QStringLiteral("Text Document"));
    EXPECT_EQ(ui->txtRel->text(), QStringLiteral("LOG"));
    EXPECT_EQ(ui->txtMIME->text(), QStringLiteral("text/plain"));
    EXPECT_TRUE(ui->chkAlwaysShow->isChecked());
    EXPECT_TRUE(ui->chkQuickView->isChecked());
    EXPECT_FALSE(ui->txtDesc->isReadOnly()); // txtfile holds the description
    EXPECT_FALSE(ui->txtIcon->isReadOnly());
    EXPECT_EQ(header(ui->flex3, 0), QStringLiteral("Actions (2)") + QString(10, u' '));
    EXPECT_TRUE(header(ui->flex3, 1).startsWith("Peformed With / Default Action (open)"));
    EXPECT_EQ(column(ui->flex3, 0), (QStringList{"open", "&Print"}));
    EXPECT_EQ(cell(ui->flex3, 1, 1), QStringLiteral("C:\\WINDOWS\\NOTEPAD.EXE /p %1"));
    EXPECT_EQ(cell(ui->flex3, 2, 0), QString()); // the padding below the actions
    EXPECT_EQ(rowCount(ui->flex3), 24);
    EXPECT_EQ(ui->lblDefault->text(), QStringLiteral("open"));

    showExt("LOG"); // the next entry starts from a cleared panel
    EXPECT_EQ(ui->txtMIME->text(), QStringLiteral(" "));
    EXPECT_EQ(ui->txtRel->text(), QStringLiteral("TXT"));
}

TEST_F(DetailView, PlaceholderShowsNoIcon) {
    showExt("DOC");
    EXPECT_EQ(ui->lblScan->text(), QStringLiteral("No Icons Found for DOC"));
    EXPECT_EQ(ui->txtIcon->text(), QStringLiteral("%1"));
    EXPECT_FALSE(iconDrawn());
    EXPECT_FALSE(ui->hs->isEnabled());
    EXPECT_FALSE(ui->cmdIcons->isEnabled());
    EXPECT_EQ(world.ctx().state.editState(), editing::EditState::EntryShown);
}

TEST_F(DetailView, IndexBeyondTheCountShowsTheCountButNoIcon) {
    showType("Big Index");
    EXPECT_EQ(ui->lblScan->text(),
              QStringLiteral(" 3 Icons Found for C:\\WINDOWS\\SYSTEM\\icons.dll"));
    EXPECT_EQ(ui->txtIconNumber->text(), QStringLiteral("7"));
    EXPECT_FALSE(iconDrawn());
    EXPECT_TRUE(ui->hs->isEnabled());
    EXPECT_EQ(ui->hs->maximum(), 2);
}

TEST_F(DetailView, MissingFileAndIconFile) {
    showExt("GON");
    EXPECT_EQ(ui->lblScan->text(), QStringLiteral("No Icon Found for GON"));
    EXPECT_FALSE(iconDrawn());
    showExt("PIC");
    EXPECT_EQ(ui->lblScan->text(), QStringLiteral("1 Icon Found for C:\\ICONS\\pic.ico"));
    EXPECT_TRUE(iconDrawn());
    // The status quotes the clicked cell, here the description column.
    pressCell(ui->flex1, tableRowOf(ui->flex1, 0, "GON"), 3);
    EXPECT_EQ(ui->lblScan->text(), QStringLiteral("No Icon Found for Gone Icon"));
}

TEST_F(DetailView, WildcardsEndWithTheirMessage) {
    showExt("*");
    EXPECT_EQ(ui->lblScan->text(), QStringLiteral("Wildcard (*) for all file extensions!!"));
    EXPECT_TRUE(iconDrawn()); // its icon was counted and drawn before the message
    showExt("UNKNOWN");
    EXPECT_EQ(ui->lblScan->text(),
              QStringLiteral("Wildcard (UNKNOWN) for all unregistered file extensions!!"));
    showType("Used for all file extensions");
    EXPECT_EQ(ui->lblScan->text(), QStringLiteral("Wildcard (*) for all file extensions!!"));
}

TEST_F(DetailView, ProtectedEntriesCannotBeDeleted) {
    showExt("EXE");
    EXPECT_FALSE(ui->cmdDeleteExt->isEnabled());
    EXPECT_TRUE(ui->mnuBackup->isEnabled());
    showExt("TXT");
    EXPECT_TRUE(ui->cmdDeleteExt->isEnabled());
    EXPECT_TRUE(ui->cmdFindExts->isEnabled());
    EXPECT_TRUE(ui->cmdPrintDetail->isEnabled());

    showType("Application");
    EXPECT_FALSE(ui->cmdDeleteExt->isEnabled());
    EXPECT_FALSE(ui->mnuAddExtType->isEnabled());
    EXPECT_TRUE(ui->mnuBackup->isEnabled());
    pressRowText(ui->flex2, "Text Document");
    EXPECT_TRUE(ui->cmdDeleteExt->isEnabled());
    EXPECT_TRUE(ui->mnuAddExtType->isEnabled());
    EXPECT_EQ(ui->txtRel->text(), QStringLiteral("LOG TXT"));
}

TEST_F(DetailView, EnterShowsTheCurrentCell) {
    ui->flex1->setCurrentIndex(ui->flex1->model()->index(tableRowOf(ui->flex1, 0, "PIC"), 0));
    ui->flex1->setFocus();
    QTest::keyClick(ui->flex1, Qt::Key_Return);
    EXPECT_EQ(ui->txtExt->text(), QStringLiteral("PIC"));
}
