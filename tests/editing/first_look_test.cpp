// What a new user sees first: the start-up hint whole, the help where the desktop cannot show it,
// and sorted lists that stay at their first column.

#include "editing/help_handlers.h"
#include "editing_world.h"
#include "model/loading.h"
#include "ui_main_window.h"

#include <QFile>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::test;

TEST(FirstLook, SortingAnyColumnOfEitherListKeepsTheViewAtTheFirstColumn) {
    EditingWorld world(QStringLiteral("look-sort"));
    world.addStandardTypes();
    // A description wide enough to need sideways scrolling.
    world.addType({"widefile", QString(120, u'W'), {QStringLiteral(".wide")}, QString()});
    Ui::frmORVANEX* ui = world.start().form();
    for (QTableView* grid : {ui->flex1, ui->flex2}) {
        if (grid == ui->flex2)
            ui->cmdSelectByFileType->click();
        ASSERT_TRUE(grid->isVisible());
        ASSERT_GT(grid->horizontalScrollBar()->maximum(), 0) << "the grid must be wide";
        for (int col = 0; col < 4; ++col)
            for (int click = 0; click < 2; ++click) {
                pressHeader(grid, col);
                QApplication::processEvents();
                EXPECT_EQ(grid->horizontalScrollBar()->value(), 0)
                    << grid->objectName().toStdString() << " column " << col;
            }
    }
}

TEST(FirstLook, TheStartUpHintIsShownWholeAndExact) {
    EditingWorld world(QStringLiteral("look-hint"));
    world.addStandardTypes();
    Ui::frmORVANEX* ui = world.start().form();
    ASSERT_EQ(ui->lblScan->text(), model::startupHint());
    ui->lblScan->repaint();
    const QFontMetricsF metrics(ui->lblScan->font());
    EXPECT_LE(metrics.horizontalAdvance(ui->lblScan->text()),
              ui->lblScan->contentsRect().width() - 2 * ui->lblScan->margin());
    // Other texts go back to the label's own font.
    const QFont own = ui->lblScan->font();
    ui->lblScan->setText(QStringLiteral("Select File Extension/Type"));
    ui->lblScan->repaint();
    EXPECT_GE(ui->lblScan->font().pointSizeF(), own.pointSizeF());
}

TEST(FirstLook, WithoutADesktopHandlerHelpAndReadmeShowInTheProgramsOwnWindow) {
    // The offscreen platform, like a desktop without a handler, opens no file.
    EditingWorld world(QStringLiteral("look-help"));
    MainWindow& window = world.start();
    Ui::frmORVANEX* ui = window.form();
    auto* help = window.handlers().help.get();
    ASSERT_NE(help, nullptr);

    ui->mnuHelp->trigger();
    ASSERT_NE(help->topicWindow(), nullptr);
    EXPECT_TRUE(help->topicWindow()->isVisible());
    EXPECT_TRUE(help->topicWindow()->source().toLocalFile().endsWith("/help/orvanex.html"));
    EXPECT_TRUE(help->topicWindow()->toPlainText().contains(QLatin1String("ORVANEX")));
    help->topicWindow()->close();

    const QString readme = world.ctx().AppFolder + QStringLiteral("/readme.txt");
    QFile file(readme);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Read me <first>, & then the rest.\n");
    file.close();
    ui->mnuReadMe->trigger();
    EXPECT_TRUE(help->topicWindow()->isVisible());
    EXPECT_EQ(help->topicWindow()->toPlainText(),
              QStringLiteral("Read me <first>, & then the rest.\n"));
    EXPECT_EQ(ui->lblScan->text(), readme);
    QFile::remove(readme);
    help->topicWindow()->close();

    // F1 is Help Topics.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(window.windowHandle(), Qt::Key_F1);
    EXPECT_TRUE(help->topicWindow()->isVisible());
    EXPECT_TRUE(help->topicWindow()->source().toLocalFile().endsWith("/help/orvanex.html"));
}
