// The file count of the main window, run over a tree the test builds as the only drive.

#include "editing/count_handlers.h"
#include "editing/editing_session.h"
#include "editing_world.h"
#include "search/file_count_columns.h"
#include "support/test_env.h"
#include "ui_main_window.h"

#include <QDir>
#include <QFile>
#include <QSemaphore>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include <atomic>
#include <memory>

using namespace orvanex;
using namespace orvanex::test;

namespace {

void makeFile(const QString& path, qint64 size) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_TRUE(f.resize(size)); // sparse: a file past 4 GB costs no disk
}

// TXT 2 files of 15 bytes, LOG 10 of 10, DOC 9 of 9, BIG one of 5 GB; files of no registered
// extension and without one, and a dotted folder that lends its files nothing.
QString makeCountTree(const QString& name) {
    const QString root = freshDir(name);
    makeFile(root + "/a/notes.txt", 10);
    makeFile(root + "/a/b/READ.Txt", 5);
    for (int i = 0; i < 10; ++i)
        makeFile(root + QStringLiteral("/logs/%1.log").arg(i), 1);
    for (int i = 0; i < 9; ++i)
        makeFile(root + QStringLiteral("/d.d/%1.doc").arg(i), 1);
    makeFile(root + "/video.big", 5'000'000'000);
    makeFile(root + "/my.folder/README", 4);
    makeFile(root + "/x.zzz", 3);
    return root;
}

struct CountWorld {
    explicit CountWorld(const QString& name, const QString& tree) : world(name) {
        world.addStandardTypes();
        ui = world.start().form();
        platform::DriveMap drives;
        drives.setDrive(u'C', tree);
        editingSession(world.ctx()).drives = drives;
    }
    editing::CountHandlers& handlers() { return *world.window().handlers().count; }
    void waitForEnd() {
        QTRY_VERIFY_WITH_TIMEOUT(!handlers().counting(), 60000);
        ASSERT_EQ(ui->cmdExit->text(), QStringLiteral("&Exit"));
    }
    QStringList row(QTableView* grid, const QString& name) {
        const int r = tableRowOf(grid, 0, name);
        if (r < 0)
            return {};
        return {cell(grid, r, 1), cell(grid, r, 2), cell(grid, r, 4)};
    }
    EditingWorld world;
    Ui::frmORVANEX* ui = nullptr;
};

// Holds the walk in the first folder it enters until the test lets it go, so that what the
// test does meanwhile never races the walk. Shared with the hook, which may outlive the test's
// copy; let go on destruction, so that a failed test never leaves the walk's thread waiting.
struct WalkHold {
    QSemaphore entered;
    QSemaphore go;
    std::atomic_bool held{false};
    static std::shared_ptr<WalkHold> on(editing::CountHandlers& handlers) {
        auto hold = std::make_shared<WalkHold>();
        handlers.setFolderHook([hold](const QByteArray&) {
            if (hold->held.exchange(true))
                return;
            hold->entered.release();
            hold->go.acquire();
        });
        return hold;
    }
    // Waits until the walk is held (a condition; the limit only ends a broken run).
    bool waitHeld() { return entered.tryAcquire(1, 60000); }
    void letGo() { go.release(1); }
};

struct LetGo {
    std::shared_ptr<WalkHold> hold;
    ~LetGo() { hold->go.release(1); }
};

} // namespace

TEST(EditingCount, FillsBothListsAndTheTotals) {
    CountWorld w("count-fill", makeCountTree("count-fill-tree"));
    Ui::frmORVANEX* ui = w.ui;
    pressRowText(ui->flex1, "TXT");
    ASSERT_FALSE(ui->txtExt->text().isEmpty());

    ui->cmdLoad->trigger();
    // While the walk runs the exit button is its Stop and the other commands wait.
    EXPECT_EQ(ui->cmdExit->text(), QStringLiteral("&Stop"));
    EXPECT_EQ(ui->cmdExit->toolTip(), QStringLiteral("Stop! Loading # of files!"));
    EXPECT_FALSE(ui->mnuAction->menuAction()->isEnabled());
    EXPECT_FALSE(ui->cmdSelectByFileType->isEnabled());
    EXPECT_FALSE(ui->Combo1->isEnabled());
    EXPECT_TRUE(ui->txtExt->text().isEmpty()); // the entry shown was cleared
    EXPECT_TRUE(w.world.ctx().Busy);
    w.waitForEnd();

    EXPECT_EQ(w.row(ui->flex1, "TXT"), (QStringList{"2", "15", "15"}));
    EXPECT_EQ(w.row(ui->flex1, "LOG"), (QStringList{"10", "10", "10"}));
    EXPECT_EQ(w.row(ui->flex1, "DOC"), (QStringList{"9", "9", "9"}));
    EXPECT_EQ(w.row(ui->flex1, "BIG"), (QStringList{"1", "5,000,000,000", "5000000000"}));
    EXPECT_EQ(w.row(ui->flex1, "DOT"), (QStringList{"0", "0", "0"}));
    EXPECT_EQ(w.row(ui->flex1, "*"), (QStringList{"0", "0", "0"}));
    EXPECT_EQ(w.row(ui->flex2, "Text Document"), (QStringList{"12", "25", "25"}));
    EXPECT_EQ(w.row(ui->flex2, "Document Placeholder"), (QStringList{"9", "9", "9"}));
    EXPECT_EQ(w.row(ui->flex2, "Big Index"), (QStringList{"1", "5,000,000,000", "5000000000"}));
    EXPECT_EQ(w.row(ui->flex2, "Application"), (QStringList{"0", "0", "0"}));
    EXPECT_EQ(ui->lblScan->text(), QStringLiteral("4 registered file extensions  22 files"));
    test::screenshot("lists-with-counts.png");

    EXPECT_EQ(ui->cmdExit->toolTip(), QStringLiteral("Exit ORVANEX!"));
    EXPECT_TRUE(ui->mnuAction->menuAction()->isEnabled());
    EXPECT_TRUE(ui->cmdSelectByFileType->isEnabled());
    EXPECT_TRUE(ui->Combo2->isEnabled());
    EXPECT_TRUE(ui->chkQuickView->isEnabled());
    EXPECT_FALSE(ui->cmdFindExts->isEnabled()); // until a row is shown again
    EXPECT_FALSE(w.world.ctx().Busy);
    EXPECT_FALSE(w.world.ctx().Counting);

    // Both lists stay sorted by name.
    const QStringList names = column(ui->flex1, 0);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
}

TEST(EditingCount, CountColumnsSortAsNumbers) {
    CountWorld w("count-sort", makeCountTree("count-sort-tree"));
    Ui::frmORVANEX* ui = w.ui;
    ui->cmdLoad->trigger();
    w.waitForEnd();

    // As text "9" would come before "2", "10" and "1".
    pressHeader(ui->flex1, 1);
    EXPECT_EQ(column(ui->flex1, 0).mid(0, 4), (QStringList{"LOG", "DOC", "TXT", "BIG"}));
    EXPECT_EQ(column(ui->flex1, 1).mid(0, 4), (QStringList{"10", "9", "2", "1"}));
    pressHeader(ui->flex1, 1);
    EXPECT_EQ(column(ui->flex1, 1).last(), QStringLiteral("10"));

    // The size header sorts by the plain byte count, not by the grouped text.
    pressHeader(ui->flex1, 2);
    EXPECT_EQ(column(ui->flex1, 0).mid(0, 4), (QStringList{"BIG", "TXT", "LOG", "DOC"}));
    pressHeader(ui->flex2, 1);
    EXPECT_EQ(column(ui->flex2, 0).mid(0, 3),
              (QStringList{"Text Document", "Document Placeholder", "Big Index"}));
}

TEST(EditingCount, StopEndsTheWalkAndShowsWhatWasCounted) {
    const QString tree = freshDir("count-stop-tree");
    const int folders = 40;
    for (int i = 0; i < folders; ++i)
        makeFile(tree + QStringLiteral("/f%1/x.txt").arg(i), 1);
    CountWorld w("count-stop", tree);
    Ui::frmORVANEX* ui = w.ui;

    // The walk is held in its first folder, the drive's root, while Stop is clicked.
    const std::shared_ptr<WalkHold> hold = WalkHold::on(w.handlers());
    const LetGo letGo{hold};
    ui->cmdLoad->trigger();
    ASSERT_TRUE(hold->waitHeld());
    QTest::mouseClick(ui->cmdExit, Qt::LeftButton);
    EXPECT_TRUE(w.handlers().walkStopping());
    hold->letGo();
    w.waitForEnd();
    EXPECT_TRUE(w.world.window().isVisible()); // Stop stops; it does not exit
    // Stopped before the root was listed: no folder below it was counted.
    EXPECT_EQ(w.row(ui->flex1, "TXT"), (QStringList{"0", "0", "0"}));
    EXPECT_EQ(ui->lblScan->text(), search::CountTotalsText({0, 0}));
    EXPECT_TRUE(ui->mnuAction->menuAction()->isEnabled());

    // A panel operation in progress keeps the count from starting.
    w.world.ctx().Busy = true;
    ui->cmdLoad->trigger();
    EXPECT_FALSE(w.handlers().counting());
    EXPECT_EQ(ui->cmdExit->text(), QStringLiteral("&Exit"));
    w.world.ctx().Busy = false;

    // A count that runs to its end sees every folder.
    w.handlers().setFolderHook(nullptr);
    ui->cmdLoad->trigger();
    w.waitForEnd();
    EXPECT_EQ(w.row(ui->flex1, "TXT").value(0), QString::number(folders));
}

TEST(EditingCount, TheStatusLineNamesTheFolderBelowItsClosestDrive) {
    const QList<platform::DriveRoot> roots{{u'C', "/home/me/drive_c", "C:\\"}, {u'Z', "/", "Z:\\"}};
    using editing::CountedFolderText;
    EXPECT_EQ(CountedFolderText(roots, "/home/me/drive_c"), QStringLiteral("C:\\"));
    EXPECT_EQ(CountedFolderText(roots, "/home/me/drive_c/WINDOWS/SYSTEM"),
              QStringLiteral("C:\\WINDOWS\\SYSTEM"));
    // A sibling whose name only begins like the drive's folder is not on that drive.
    EXPECT_EQ(CountedFolderText(roots, "/home/me/drive_cx"),
              QStringLiteral("Z:\\home\\me\\drive_cx"));
    EXPECT_EQ(CountedFolderText(roots, "/"), QStringLiteral("Z:\\"));
    EXPECT_EQ(CountedFolderText(roots.mid(0, 1), "/srv"), QStringLiteral("/srv"));
}

TEST(EditingCount, ClosingTheWindowEndsTheWalk) {
    const QString tree = freshDir("count-close-tree");
    for (int i = 0; i < 40; ++i)
        makeFile(tree + QStringLiteral("/f%1/x.txt").arg(i), 1);
    CountWorld w("count-close", tree);
    const std::shared_ptr<WalkHold> hold = WalkHold::on(w.handlers());
    const LetGo letGo{hold};
    w.ui->cmdLoad->trigger();
    ASSERT_TRUE(hold->waitHeld());
    w.world.window().close();
    EXPECT_FALSE(w.world.ctx().Counting);
    // Told to stop by the close itself, with no progress tick in between.
    EXPECT_TRUE(w.handlers().walkStopping());
    hold->letGo();
    QTRY_VERIFY_WITH_TIMEOUT(!w.handlers().counting(), 60000);
    EXPECT_EQ(w.row(w.ui->flex1, "TXT").value(0), QStringLiteral("0"));
}
