// The search window as a user meets it: proposals in the file's own folder, programs that start or
// say why not, Escape, folders that are not there, the menu on every click, the typed start
// folder, the columns and the picture formats. Driven offscreen through the window's handlers.

#include "search/frm_search.h"
#include "search_trees.h"
#include "search_window_world.h"
#include "settings/settings_store.h"
#include "support/test_env.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace orvanex;
using namespace orvanex::search;

namespace {

struct World : test::SearchWindowWorld {
    using SearchWindowWorld::SearchWindowWorld;
    int rowOf(const QString& path) const {
        for (int r = 0; r < window->results()->rowCount(); ++r)
            if (window->results()->cellText(r, 0) == path)
                return r;
        return -1;
    }
    void select(const QString& path) {
        const int row = rowOf(path);
        ASSERT_GE(row, 0) << path.toStdString();
        window->MSFlexGrid1_Select(window->results()->index(row, 0));
    }
};

// Environment variables set for one test and put back after it.
struct EnvGuard {
    QList<std::pair<QByteArray, std::optional<QByteArray>>> saved;
    void set(const char* name, const QByteArray& value) {
        saved.append({name, qEnvironmentVariableIsSet(name)
                                ? std::optional<QByteArray>(qgetenv(name))
                                : std::nullopt});
        qputenv(name, value);
    }
    ~EnvGuard() {
        for (auto it = saved.rbegin(); it != saved.rend(); ++it)
            it->second ? qputenv(it->first, *it->second) : qunsetenv(it->first);
    }
};

void writeText(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A program that writes its arguments, one a line, to its own path + ".out".
QString writeRecorder(const QString& path) {
    writeText(path, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.tmp\" && mv \"$0.tmp\" \"$0.out\"\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QByteArray recorded(const QString& path) {
    if (!QTest::qWaitFor([&] { return QFileInfo::exists(path + ".out"); }, 10000))
        return {};
    QFile f(path + ".out");
    f.open(QIODevice::ReadOnly);
    const QByteArray arguments = f.readAll();
    f.close();
    QFile::remove(path + ".out");
    return arguments;
}

} // namespace

TEST(frmSearchUser, CopyMoveAndRenameProposeTheFilesOwnFolder) {
    World w("user_propose", "TXT");
    w.write("/docs/plain2.txt", "two");
    w.write("/docs/plain2 (copy).txt", "an earlier copy");
    DeleteSetting(kMainAppName, "CheckWarning2");
    DeleteSetting(kMainAppName, "CheckWarning3");
    w.search();
    w.select("C:\\docs\\plain2.txt");
    w.window->cmdCopy_Click();
    // Not the program's folder: the file's own, under the first name that is free.
    EXPECT_TRUE(w.window->chkDefaultDirectory->isChecked());
    EXPECT_EQ(w.window->txtDefaultDirectoryX->text(), "C:\\docs\\");
    EXPECT_EQ(w.window->txtNewNameX->text(), "C:\\docs\\plain2 (copy 2).txt");
    test::screenshot("copy-proposal.png");
    w.window->cmdCopyOK_Click();
    EXPECT_EQ(w.window->lblScan->text(), "Request Completed!");
    QFile copy(QFile::decodeName(w.native("/docs/plain2 (copy 2).txt")));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), "two");
    // The file's folder, shown for want of a chosen one, is not kept as the user's choice.
    EXPECT_EQ(GetSetting(kMainAppName, "CheckWarning3", "TheCopy", "<none>"), "<none>");

    // Move and Rename propose the file itself, in its folder; the App folder, the old default,
    // is passed over as no choice of the user's.
    SaveSetting(kMainAppName, "CheckWarning3", "TheCopy", w.app); // as the old default wrote it
    w.select("C:\\docs\\plain2.txt");
    w.window->cmdMove_Click();
    EXPECT_EQ(w.window->txtDefaultDirectoryX->text(), "C:\\docs\\");
    EXPECT_EQ(w.window->txtNewNameX->text(), "C:\\docs\\plain2.txt");
    // A folder the user types is theirs and kept.
    w.window->txtDefaultDirectoryX->setText("C:\\docs\\old\\");
    w.window->chkDefaultDirectory_Click();
    EXPECT_EQ(w.window->txtNewNameX->text(), "C:\\docs\\old\\plain2.txt");
    w.window->cmdCancelCopy_Click();
    EXPECT_EQ(GetSetting(kMainAppName, "CheckWarning3", "TheCopy"), "C:\\docs\\old\\");
}

TEST(frmSearchUser, ANewNameThatCannotBeUsedSaysWhy) {
    World w("user_names", "TXT");
    w.write("/a/keep.txt", "keep");
    w.write("/src.txt", "source");
    w.search();
    SaveSetting(kMainAppName, "CheckWarning1", "TheCopy", "y");
    SaveSetting(kMainAppName, "CheckWarning2", "TheCopy", "n");
    w.select("C:\\src.txt");
    w.window->cmdCopy_Click();
    // Below a drive "/" would name the folder "a", and the copy would land where nobody looks.
    w.window->txtNewNameX->setText("C:\\a/keep.txt");
    w.window->cmdCopyOK_Click();
    EXPECT_EQ(w.window->lastMessage,
              "Invalid File Name! (53)\nA file name cannot hold \"/\": a/keep.txt");
    EXPECT_EQ(w.window->PanelOpen, SearchPanel::CopyMove);
    w.window->txtNewNameX->setText("C:\\a\\");
    w.window->cmdCopyOK_Click();
    EXPECT_EQ(w.window->lastMessage,
              "Invalid File Name! (53)\nThe new name has no file name after its folder.");

    // A file of the new name: asked, and No keeps it.
    w.window->scriptedAnswer = QMessageBox::No;
    w.window->txtNewNameX->setText("C:\\a\\keep.txt");
    w.window->cmdCopyOK_Click();
    QFile kept(QFile::decodeName(w.native("/a/keep.txt")));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "keep");
    EXPECT_EQ(w.window->PanelOpen, SearchPanel::CopyMove);
    w.window->cmdCancelCopy_Click();
}

TEST(frmSearchUser, AFolderThatIsNotThereAndAnEmptyTextAreSaidSo) {
    World w("user_missing", "TXT");
    w.write("/gone/x.txt", "x");
    w.write("/real/y.txt", "needle");
    w.window->setStartFolder(w.root + "/gone");
    ASSERT_TRUE(QDir(w.root + "/gone").removeRecursively());
    w.window->cmdSearchStart_Click();
    EXPECT_EQ(w.window->lblScan->text(), "The folder C:\\gone\\ does not exist.");
    EXPECT_FALSE(w.window->searching());
    EXPECT_EQ(w.window->cmdSearchStart->text(), "&Search"); // still ready to search
    test::screenshot("folder-missing.png");

    // A typed folder is checked on Enter; native paths and drive paths both name folders.
    w.window->txtDefaultDirectory->setText("C:\\nowhere");
    QTest::keyClick(w.window->txtDefaultDirectory, Qt::Key_Return);
    EXPECT_EQ(w.window->lblScan->text(), "The folder C:\\nowhere\\ does not exist.");
    w.window->txtDefaultDirectory->setText(w.root + "/real");
    QTest::keyClick(w.window->txtDefaultDirectory, Qt::Key_Return);
    EXPECT_EQ(w.window->txtDefaultDirectory->text(), "C:\\real\\");
    w.window->txtDefaultDirectory->setText("C:\\");
    QTest::keyClick(w.window->txtDefaultDirectory, Qt::Key_Return);
    EXPECT_EQ(w.window->txtDefaultDirectory->text(), "C:\\");
    // Typed without Enter: taken by Search.
    w.window->txtDefaultDirectory->setText("C:\\real");
    QSignalSpy done(w.window.get(), &frmSearch::searchFinished);
    w.window->cmdSearchStart_Click();
    ASSERT_TRUE(done.wait(20000));
    EXPECT_EQ(w.rowOf("C:\\real\\y.txt"), 1);
    EXPECT_EQ(GetSetting(kMainAppName, "CheckWarning1", "TheSearch"), "C:\\real\\");

    for (const QString& nothing : {QString(), QStringLiteral(" ")}) {
        w.window->lblScan->clear();
        w.window->scriptedText = nothing;
        w.window->cmdFindText_Click();
        EXPECT_FALSE(w.window->scanningText());
        EXPECT_EQ(w.window->lblScan->text(), "A text to find is needed: nothing was searched.");
    }
}

TEST(frmSearchUser, EscapeStopsASearchAndOtherwiseKeepsTheWindow) {
    World w("user_escape", "TXT");
    ASSERT_NO_FATAL_FAILURE(w.makeFolderTree());
    w.window->setStartFolder(w.root);
    // Held in its second folder until Escape was pressed.
    World::Held held;
    w.holdWalkAtFolder(held, 2);
    QSignalSpy done(w.window.get(), &frmSearch::searchFinished);
    w.window->cmdSearchStart_Click();
    ASSERT_TRUE(held->waitHeld());
    QTest::keyClick(w.window->MSFlexGrid1, Qt::Key_Escape);
    held->letGo();
    ASSERT_TRUE(done.wait(20000));
    EXPECT_TRUE(w.window->isVisible());
    EXPECT_EQ(w.window->lblScan->text(), "Search Stopped! 2 folders scanned, 0 files found.");
    const int rows = w.window->results()->rowCount();
    EXPECT_EQ(rows, 1); // the empty first row only
    QTest::keyClick(w.window->MSFlexGrid1, Qt::Key_Escape);
    QTest::keyClick(w.window.get(), Qt::Key_Escape);
    EXPECT_TRUE(w.window->isVisible());
    EXPECT_EQ(w.window->results()->rowCount(), rows);
}

TEST(frmSearchUser, ClosingKeepsTheFolderForTheNextOpening) {
    World w("user_close", "TXT");
    w.write("/deep/er/z.txt", "z");
    w.window->setStartFolder(w.root + "/deep/er");
    w.window->close(); // asks nothing
    EXPECT_FALSE(w.window->isVisible());
    EXPECT_EQ(GetSetting(kMainAppName, "CheckWarning1", "TheSearch"), "C:\\deep\\er\\");
    search::frmSearch again("TXT", "Text Document", w.drives, w.app);
    EXPECT_EQ(again.txtDefaultDirectory->text(), "C:\\deep\\er\\");
}

TEST(frmSearchUser, EveryClickOnAFilledRowOpensTheMenuAtTheRow) {
    World w("user_menu", "TXT");
    w.write("/a.txt", "a");
    w.write("/b.txt", "b");
    w.search();
    w.window->popUpMenus = true;
    QTableView* grid = w.window->MSFlexGrid1;
    for (const QString& path :
         {QStringLiteral("C:\\a.txt"), QStringLiteral("C:\\b.txt"), QStringLiteral("C:\\a.txt")}) {
        SCOPED_TRACE(path.toStdString());
        const QRect cell = grid->visualRect(w.window->results()->index(w.rowOf(path), 0));
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QMenu* menu = w.window->optionsMenu();
        ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 5000));
        EXPECT_EQ(w.window->txtAction->text(), path);
        EXPECT_EQ(grid->currentIndex().row(), w.rowOf(path));
        // At the click (moved up as far as the screen's end asks).
        const QPoint at = grid->viewport()->mapToGlobal(cell.center());
        EXPECT_LE(std::abs(menu->x() - at.x()), 4);
        EXPECT_LE(menu->geometry().top(), at.y() + 4) << menu->y() << " " << at.y();
        EXPECT_GE(menu->geometry().bottom(), at.y() - 4);
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, cell.center());
        menu->hide();
    }
    // The empty first row opens nothing.
    const QRect blank = grid->visualRect(w.window->results()->index(0, 0));
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, blank.center());
    EXPECT_FALSE(w.window->optionsMenu()->isVisible());
}

TEST(frmSearchUser, TheColumnsFitTheWindowAndTheThirdHasATitle) {
    World w("user_columns", "TXT");
    w.write("/a rather long folder name/and another one below it/the file.txt", "x");
    w.search();
    QTableView* grid = w.window->MSFlexGrid1;
    QHeaderView* header = grid->horizontalHeader();
    EXPECT_LE(header->length(), grid->viewport()->width());
    EXPECT_GT(header->sectionSize(0), header->sectionSize(1));
    EXPECT_EQ(w.window->results()->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(),
              "Embedded Text");
    w.window->scriptedText = QStringLiteral("x");
    QSignalSpy scanned(w.window.get(), &frmSearch::textScanFinished);
    w.window->cmdFindText_Click();
    ASSERT_TRUE(scanned.wait(20000));
    EXPECT_EQ(w.window->results()->cellText(1, 2), "found");
    EXPECT_EQ(w.window->results()->cellText(0, 2), "");
}

TEST(frmSearchUser, ImageIsOfferedForEveryPictureFormatThatCanBeRead) {
    World w("user_image", "PNG JPEG JPG GIF ICO BMP TXT");
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(qRgb(10, 200, 30));
    const char* formats[] = {"png", "jpeg", "jpg", "gif", "ico", "bmp"};
    for (const char* format : formats) {
        const QString file = w.root + "/pic." + QString::fromLatin1(format);
        if (QByteArray(format) == "gif") // Qt writes no GIF: the classic 1 x 1 one
            writeText(file, QByteArray::fromHex("47494638396101000100800000ffffff00000021f904010000"
                                                "00002c0000000001000100000202440100"
                                                "3b"));
        else
            ASSERT_TRUE(picture.save(file, QByteArray(format) == "jpg" ? "jpeg" : format))
                << format;
    }
    w.write("/words.txt", "no picture");
    w.search();
    for (const char* format : formats) {
        SCOPED_TRACE(format);
        w.select("C:\\pic." + QString::fromLatin1(format));
        EXPECT_TRUE(w.window->cmdImage->isEnabled());
        w.window->lblScan->clear();
        w.window->cmdImage_Click(); // read, not shown (the scripted answer)
        EXPECT_EQ(w.window->lblScan->text(), "") << "not read";
    }
    w.select("C:\\words.txt");
    EXPECT_FALSE(w.window->cmdImage->isEnabled());
}

TEST(frmSearchUser, ProgramsStartOrSayWhichAndWhyNot) {
    World w("user_launch", "TXT");
    w.write("/notes.txt", "text\n");
    const QString home = test::freshDir("user_launch_home");
    const QString data = home + "/data", config = home + "/config", bin = home + "/bin";
    const QString mimeOnly = home + "/mime_only";
    ASSERT_TRUE(QDir().mkpath(mimeOnly) && QFile::link("/usr/share/mime", mimeOnly + "/mime"));
    ASSERT_TRUE(QDir().mkpath(config) && QDir().mkpath(bin));
    EnvGuard env;
    env.set("XDG_DATA_HOME", data.toUtf8());
    env.set("XDG_DATA_DIRS", (data + ":" + mimeOnly).toUtf8());
    env.set("XDG_CONFIG_HOME", config.toUtf8());
    env.set("XDG_CONFIG_DIRS", config.toUtf8());
    // Only the test's programs: the system's own terminal must never be found (the recorders need
    // nothing but the shell and mv).
    ASSERT_TRUE(QFile::link("/bin/mv", bin + "/mv"));
    env.set("PATH", bin.toUtf8());
    const QString vim = writeRecorder(home + "/termed");
    const QString gui = writeRecorder(home + "/graphed");
    const QString viewer = writeRecorder(w.app + "/pelusa");
    auto entry = [&](const char* id, const QString& exec, bool terminal) {
        writeText(data + "/applications/" + id,
                  "[Desktop Entry]\nType=Application\nName=X\nExec=" + exec.toUtf8() +
                      " %f\nMimeType=text/plain;\nTerminal=" + (terminal ? "true" : "false") +
                      "\n");
    };
    entry("termed.desktop", vim, true);
    entry("graphed.desktop", gui, false);
    writeText(config + "/mimeapps.list",
              "[Default Applications]\ntext/plain=termed.desktop;graphed.desktop;\n");
    w.search();
    const QString file = QFile::decodeName(w.native("/notes.txt"));
    w.select("C:\\notes.txt");

    // Notepad: the graphical editor, though the terminal one is the default.
    w.window->cmdEdit_Click();
    EXPECT_EQ(w.window->lblScan->text(), "Edit for C:\\notes.txt");
    EXPECT_EQ(recorded(gui), (file + "\n").toUtf8());
    // Only the terminal one: in the desktop's terminal.
    QFile::remove(data + "/applications/graphed.desktop");
    const QString terminal = writeRecorder(bin + "/x-terminal-emulator");
    w.window->cmdEdit_Click();
    EXPECT_EQ(recorded(terminal), ("-e\n" + vim + "\n" + file + "\n").toUtf8());
    w.window->cmdOpen_Click();
    EXPECT_EQ(w.window->lblScan->text(), vim);
    EXPECT_EQ(recorded(terminal), ("-e\n" + vim + "\n" + file + "\n").toUtf8());
    // No terminal: Notepad shows the file in the viewer, Open says what is missing.
    QFile::remove(terminal);
    w.window->cmdEdit_Click();
    EXPECT_EQ(recorded(viewer), (file + "\n").toUtf8());
    w.window->cmdOpen_Click();
    EXPECT_EQ(w.window->lblScan->text(),
              vim + " runs in a terminal, and this desktop has none (x-terminal-emulator).");

    // A program that cannot be started is named with the reason.
    const QString broken = home + "/broken";
    writeText(broken, "#!/nonexistent/interpreter\n");
    QFile::setPermissions(broken, QFile::ReadOwner | QFile::ExeOwner);
    entry("broken.desktop", broken, false);
    writeText(config + "/mimeapps.list", "[Default Applications]\ntext/plain=broken.desktop;\n");
    w.window->cmdOpen_Click();
    EXPECT_TRUE(
        w.window->lblScan->text().startsWith(broken + " ** Error ** could not be started: "))
        << w.window->lblScan->text().toStdString();
    w.window->cmdEdit_Click();
    EXPECT_TRUE(
        w.window->lblScan->text().startsWith(broken + " ** Error ** could not be started: "))
        << w.window->lblScan->text().toStdString();

    // Explorer without a file manager or a program for folders says so plainly.
    env.set("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + QFile::encodeName(home) + "/no-bus");
    w.window->cmdExplorer_Click();
    EXPECT_EQ(w.window->lblScan->text(),
              "C:\\notes.txt ** Error ** No program on this desktop opens folders.");

    // View refuses what the viewer cannot show, without starting it.
    const QByteArray fifo = w.native("/pipe.txt");
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    w.window->results()->appendRows({[&] {
        ResultRow row;
        row.text = QStringLiteral("C:\\pipe.txt");
        row.native = fifo;
        row.sequence = 99;
        return row;
    }()});
    w.select("C:\\pipe.txt");
    w.window->cmdView_Click();
    EXPECT_EQ(w.window->lblScan->text(), "Cannot view C:\\pipe.txt: It is not a regular file.");
    EXPECT_FALSE(QFileInfo::exists(viewer + ".out"));
}
