// The main window's form: the controls later handlers find by name, with their captions and tool
// tips as the user sees them (every blank counts).

#include "app/main_window.h"
#include "ui_main_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>
#include <gtest/gtest.h>

using namespace orvanex;

namespace {

struct Control {
    const char* name;
    const char* kind;
    const char* caption; // nullptr: not checked
    const char* tip;     // nullptr: not checked
};

QString captionOf(QObject* o) {
    if (auto* b = qobject_cast<QAbstractButton*>(o))
        return b->text();
    if (auto* l = qobject_cast<QLabel*>(o))
        return l->text();
    if (auto* g = qobject_cast<QGroupBox*>(o))
        return g->title();
    return {};
}

const Control kControls[] = {
    {"flex1", "QTableView", nullptr, nullptr},
    {"flex2", "QTableView", nullptr, nullptr},
    {"flex3", "QTableView", nullptr,
     "Click the top column to add action!  Click other columns to update action!"},
    {"Combo1", "QComboBox", nullptr, "Locate starting letter for the registered file extension!"},
    {"Combo2", "QComboBox", nullptr, "Locate starting letter for the registered file type!"},
    {"cmdSelectByFileExtension", "QPushButton", "Select b&y file extension",
     "Change selection to file extensions!"},
    {"cmdSelectByFileType", "QPushButton", "Select b&y file type",
     "Change selection to file types!"},
    {"txtExt", "QLineEdit", nullptr, nullptr},
    {"txtDesc", "QLineEdit", nullptr, nullptr},
    {"txtRel", "QLineEdit", nullptr, nullptr},
    {"txtMIME", "QLineEdit", nullptr, nullptr},
    {"txtIcon", "QLineEdit", nullptr, nullptr},
    {"txtIconNumber", "QLabel", nullptr, nullptr},
    {"picIcon", "QLabel", nullptr, nullptr},
    {"picTest", "QLabel", nullptr, nullptr},
    {"hs", "QScrollBar", nullptr, nullptr},
    {"fraDefaultIcon", "QGroupBox", "Default Icon Image", nullptr},
    {"chkQuickView", "QCheckBox", "Enable Quick View",
     "Specifies whether the file type supports Quick View!"},
    {"chkAlwaysShow", "QCheckBox", "Always show extensions",
     "Specifies that the extension for this file type should be visible in a folder window!"},
    {"cmdApply", "QPushButton", "&Apply", "Update the changes made to the file type!"},
    {"cmdIcons", "QPushButton", "&Find", "Display existing icons files for selection!"},
    {"cmdIconView", "QPushButton", "&Icons",
     "Display all  the icons contained within the Default Icon File!"},
    {"txtActionName", "QLineEdit", nullptr, nullptr},
    {"txtAppl", "QLineEdit", nullptr, nullptr},
    {"cmdBrowseApplX", "QPushButton", "&Find",
     "Display existing action application files for selection!"},
    {"chkSetDefault", "QCheckBox", "Set Default",
     "Specifies that this action will be performed when double-clicked in explorer!"},
    {"chkDDE", "QCheckBox", "Use DDE",
     "Specifies if the program or file type uses DDE (dynamic data exchange)!"},
    {"txtDDEMsg", "QLineEdit", nullptr, nullptr},
    {"txtDDEAppl", "QLineEdit", nullptr, nullptr},
    {"txtDDENot", "QLineEdit", nullptr, nullptr},
    {"txtDDETopic", "QLineEdit", nullptr, nullptr},
    {"cmdOKAction", "QPushButton", "&Apply", nullptr},
    {"cmdDeleteAction", "QPushButton", "&Delete", nullptr},
    {"cmdCancelAction", "QPushButton", "&Cancel", nullptr},
    {"lblFTDelete", "QLabel", nullptr, nullptr},
    {"lblExtDelete", "QLabel", nullptr, nullptr},
    {"cmdDeleteOKX", "QPushButton", "&OK", "Delete the file type!"},
    {"cmdCancelDelete", "QPushButton", "&Cancel", "Cancel the delete request!"},
    {"lblActionToDelete", "QLabel", nullptr, nullptr},
    {"cmdDeleteOKXQ", "QPushButton", "&OK", "Delete the action!"},
    {"cmdCancelDeleteQ", "QPushButton", "&Cancel", "Cancel the delete request!"},
    {"lblActionToExtTypes", "QLabel", nullptr, nullptr},
    {"lblExtsTypes", "QLabel", nullptr, nullptr},
    {"txtNewExtTypes", "QLineEdit", nullptr, "Enter new file extensions seperated by a space!"},
    {"cmdOKExtType", "QPushButton", "&OK", "Add the file extension(s)!"},
    {"cmdCancelExtType", "QPushButton", "&Cancel", "Cancel the add file extension(s) request!"},
    {"Grid1", "QTableWidget", nullptr, nullptr},
    {"lblTellIcons", "QLabel", nullptr, nullptr},
    {"cmdSelect", "QPushButton", "&Select", "Select the icon!"},
    {"cmdCancel", "QPushButton", "&Cancel", "Cancel the icon selection!"},
    {"lblScan", "QLabel", "", nullptr},
    {"cmdFindExts", "QPushButton", "&Search", nullptr},
    {"cmdBackSystem", "QPushButton", "&Backup", "Retrieve the Registry backup files!"},
    {"cmdExit", "QPushButton", "E&xit", nullptr},
    {"Label1", "QLabel", "File extension", "File extension(s) associated with the file type!"},
    {"Label2", "QLabel", "Default icon file ", "File used to extract the icon! "},
    {"Label3", "QLabel", "Related File Extensions", nullptr},
    {"Label4", "QLabel", "Registered file type", "Specifies the description of the file type! "},
    {"lblMIME", "QLabel", "Content type (MIME)",
     "MIME stands for \" Multipurpose Internet Mail Extensions\""},
    {"Label1z", "QLabel", "Action name",
     "Specifies the name of the command that will appear on the shortcut menu for the item!"},
    {"Label4z", "QLabel", "Application used to perform action",
     "Specifies the program to use when the action name is chosen! "},
    {"Label5z", "QLabel", "DDE message", "Specifies the DDE command for the action! "},
    {"Label6z", "QLabel", "DDE application",
     "Specifies the DDE application string to use to initate a DDE conversation with the "
     "program!"},
    {"Label7z", "QLabel", "DDE applicaton not running",
     "Specifies the DDE command to use if the program is not already running!"},
    {"Label8z", "QLabel", "DDE topic",
     "Specifies the DDE topic string to use to initiate a DDE conversation with the program!"},
};

struct MenuItem {
    const char* name;
    const char* menu;
    const char* caption;
};

const MenuItem kMenuItems[] = {
    {"mnuReadMe", "mnuFile", "Readme &Text"},
    {"mnuExit", "mnuFile", "Ex&it"},
    {"cmdExtNew", "mnuAction", "&Add File Type/ Extension"},
    {"cmdDeleteExt", "mnuAction", "&Delete File Type/ Extension"},
    {"mnuBackup", "mnuAction", "&Backup Registry For File Type/Extension"},
    {"mnuAddExtType", "mnuAction", "Add F&ile Extension(s) to File Type"},
    {"cmdLoad", "mnuAction", "Retrieve &count/size of all file types"},
    {"cmdPrintDetail", "mnuPrintAll", "Print file type de&tail"},
    {"cmdPrint", "mnuPrintAll", "Print &all file extensions"},
    {"cmdPrintF2", "mnuPrintAll", "Print &all file types"},
    {"mnuHelp", "mnuHelpX", "Help &Topics"},
    {"mnuAbout", "mnuHelpX", "About ORVANEX"},
    {"mnuWhatsThisHelp", "mnuWhatsThis", "Extended Help?"},
};

} // namespace

TEST(MainWindowForm, EveryControlIsThereWithItsCaptionAndToolTip) {
    MainWindow w(nullptr);
    for (const Control& c : kControls) {
        SCOPED_TRACE(c.name);
        QWidget* widget = w.findChild<QWidget*>(QLatin1String(c.name));
        ASSERT_NE(widget, nullptr);
        EXPECT_TRUE(widget->inherits(c.kind)) << widget->metaObject()->className();
        if (c.caption) {
            EXPECT_EQ(captionOf(widget), QString::fromUtf8(c.caption));
        }
        if (c.tip) {
            EXPECT_EQ(widget->toolTip(), QString::fromUtf8(c.tip));
        }
    }
}

TEST(MainWindowForm, GridsHaveTheirColumns) {
    MainWindow w(nullptr);
    const Ui::frmORVANEX* ui = w.form();
    EXPECT_EQ(ui->flex1->model()->columnCount(), 5);
    EXPECT_EQ(ui->flex2->model()->columnCount(), 5);
    EXPECT_EQ(ui->flex3->model()->columnCount(), 2);
    EXPECT_EQ(ui->Grid1->columnCount(), 7);
    const auto header = [](const QTableView* grid, int col) {
        return grid->model()->headerData(col, Qt::Horizontal).toString().trimmed();
    };
    EXPECT_EQ(header(ui->flex1, 2), QStringLiteral("Size(Bytes)"));
    EXPECT_EQ(header(ui->flex2, 0), QStringLiteral("Registered file types"));
    EXPECT_EQ(header(ui->flex3, 1), QStringLiteral("Peformed With"));
    EXPECT_TRUE(ui->flex1->isColumnHidden(4));
    EXPECT_TRUE(ui->flex2->isColumnHidden(4));
}

TEST(MainWindowForm, MenusHoldTheirItemsAndTheHelpMenuIsHidden) {
    MainWindow w(nullptr);
    const Ui::frmORVANEX* ui = w.form();
    for (const MenuItem& m : kMenuItems) {
        SCOPED_TRACE(m.name);
        auto* action = w.findChild<QAction*>(QLatin1String(m.name));
        auto* menu = w.findChild<QMenu*>(QLatin1String(m.menu));
        ASSERT_NE(action, nullptr);
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(action->text(), QString::fromUtf8(m.caption));
        EXPECT_TRUE(menu->actions().contains(action));
    }
    EXPECT_EQ(ui->mnuFile->title(), QStringLiteral("    &File"));
    EXPECT_EQ(ui->mnuAction->title(), QStringLiteral("      A&ctions"));
    EXPECT_EQ(ui->mnuPrintAll->title(), QStringLiteral("   &Print"));
    EXPECT_EQ(ui->mnuHelpX->title(), QStringLiteral("      &Help"));
    EXPECT_EQ(ui->mnuRestore->title(), QStringLiteral("&Restore Previous Values"));
    EXPECT_EQ(ui->mnuRestore->actions().size(), 10);
    for (int i = 1; i <= 10; ++i) {
        auto* slot =
            w.findChild<QAction*>(QStringLiteral("mnuUpdate%1").arg(i, 2, 10, QChar(u'0')));
        ASSERT_NE(slot, nullptr) << i;
        EXPECT_EQ(slot->text(), QStringLiteral("?"));
        EXPECT_TRUE(ui->mnuRestore->actions().contains(slot));
    }
    EXPECT_FALSE(ui->mnuWhatsThis->menuAction()->isVisible());
    EXPECT_TRUE(ui->mnuFile->menuAction()->isVisible());
}

TEST(MainWindowForm, OverlayPanelsStartHidden) {
    MainWindow w(nullptr);
    w.show();
    const Ui::frmORVANEX* ui = w.form();
    for (QWidget* panel :
         {static_cast<QWidget*>(ui->fraAction), static_cast<QWidget*>(ui->fraDelete),
          static_cast<QWidget*>(ui->fraDeleteAction), static_cast<QWidget*>(ui->fraAddExtType),
          static_cast<QWidget*>(ui->fraIcons), static_cast<QWidget*>(ui->flex2),
          static_cast<QWidget*>(ui->Combo2), static_cast<QWidget*>(ui->picTest)})
        EXPECT_FALSE(panel->isVisible()) << panel->objectName().toStdString();
    EXPECT_TRUE(ui->flex1->isVisible());
    EXPECT_TRUE(ui->flex3->isVisible());
    EXPECT_TRUE(ui->lblScan->isVisible());
    // The action delete panel lies inside the delete panel: showing both shows the action's one.
    EXPECT_EQ(ui->fraDeleteAction->parentWidget(), ui->fraDelete);
}
