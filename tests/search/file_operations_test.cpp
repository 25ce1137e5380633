// Copy, move and trash on real files, the replace question's text, and the desktop's association
// data read from files the test writes.

#include "platform/desktop_apps.h"
#include "search/file_operations.h"
#include "search_trees.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace orvanex;
using namespace orvanex::search;

namespace {

int countFiles(const QByteArray& dir) {
    int n = 0;
    DIR* d = ::opendir(dir.constData());
    while (const dirent* e = d ? ::readdir(d) : nullptr)
        n += e->d_type == DT_REG ? 1 : 0;
    if (d)
        ::closedir(d);
    return n;
}

QByteArray readAll(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDONLY);
    if (fd < 0)
        return "<missing>";
    char buffer[256];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    return QByteArray(buffer, n < 0 ? 0 : qsizetype(n));
}

// By bytes: names that are not UTF-8 cannot pass through QString.
void write(const QByteArray& path, const QByteArray& bytes) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
    ::close(fd);
}

void writeText(const QString& path, const QString& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.toUtf8());
}

} // namespace

TEST(FileOperations, CopyReplacesWholeFilesAndKeepsTheModeAndNothingElseBehind) {
    const QByteArray dir = QFile::encodeName(test::freshDir("ops_copy"));
    write(dir + "/src \xe9 $(x).txt", "new content");
    ::chmod((dir + "/src \xe9 $(x).txt").constData(), 0640);
    write(dir + "/dst.txt", "old content that is longer");
    ASSERT_TRUE(copyFile(dir + "/src \xe9 $(x).txt", dir + "/dst.txt").ok());
    EXPECT_EQ(readAll(dir + "/dst.txt"), "new content");
    struct stat st;
    ASSERT_EQ(::stat((dir + "/dst.txt").constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    // No temporary file is left beside the target.
    EXPECT_EQ(countFiles(dir), 2);

    // Failures leave the target as it was and name the error.
    EXPECT_EQ(copyFile(dir + "/missing.txt", dir + "/dst.txt").error, kFileNotFound);
    EXPECT_EQ(readAll(dir + "/dst.txt"), "new content");
    EXPECT_EQ(copyFile(dir + "/dst.txt", dir + "/no/such/folder.txt").error, kFileNotFound);
    ASSERT_TRUE(QDir().mkpath(QFile::decodeName(dir + "/afolder")));
    EXPECT_EQ(copyFile(dir + "/dst.txt", dir + "/afolder").error, kPathNotFound);
    EXPECT_EQ(copyFile(dir + "/afolder", dir + "/x.txt").error, kPathNotFound);
    EXPECT_EQ(countFiles(dir), 2);

    // Copying a file onto itself keeps its content.
    ASSERT_TRUE(copyFile(dir + "/dst.txt", dir + "/./dst.txt").ok());
    EXPECT_EQ(readAll(dir + "/dst.txt"), "new content");
    test::removeStrangeTree(dir);
}

TEST(FileOperations, MoveRenamesAndReportsMissingSources) {
    const QByteArray dir = QFile::encodeName(test::freshDir("ops_move"));
    write(dir + "/a.txt", "A");
    write(dir + "/b.txt", "B");
    ASSERT_TRUE(moveFile(dir + "/a.txt", dir + "/b.txt").ok());
    EXPECT_EQ(readAll(dir + "/b.txt"), "A");
    EXPECT_FALSE(fileFacts(dir + "/a.txt").exists);
    EXPECT_EQ(moveFile(dir + "/a.txt", dir + "/c.txt").error, kFileNotFound);
    EXPECT_EQ(readAll(dir + "/b.txt"), "A");

    const FileFacts facts = fileFacts(dir + "/b.txt");
    EXPECT_TRUE(facts.exists);
    EXPECT_EQ(facts.size, 1);
    EXPECT_FALSE(fileFacts(dir).exists); // a folder is no file
    EXPECT_FALSE(fileFacts("").exists);
    EXPECT_EQ(trashFile(dir + "/never.txt").error, kFileNotFound);
}

TEST(FileOperations, QuestionAndErrorTexts) {
    FileFacts existing{true, 1234567, QDateTime(QDate(2020, 1, 2), QTime(3, 4))};
    FileFacts selected{true, 5, QDateTime(QDate(2021, 5, 6), QTime(7, 8))};
    const QString text = ReplaceQuestionText("C:\\x.txt", existing, "C:\\sub\\y.txt", selected);
    EXPECT_TRUE(text.startsWith("File already exists  /  Do you want to replace the file?\n\n\n"
                                "Old File:        C:\\x.txt\n\n" +
                                QString(23, ' ') + "1,234,567" + QString(10, ' ')))
        << text.toStdString();
    EXPECT_TRUE(text.contains("\n\nNew File:        C:\\sub\\y.txt\n\n" + QString(23, ' ') + "5" +
                              QString(10, ' ')))
        << text.toStdString();
    EXPECT_EQ(FileErrorText(75), "File Error, File Opened By Another User! (75)");
    EXPECT_EQ(FileErrorText(53), "Invalid File Name! (53)");
    EXPECT_EQ(FileErrorText(57), "File Error! (57)");
    EXPECT_EQ(FormatSize(0), "0");
    EXPECT_EQ(FormatSize(999), "999");
    EXPECT_EQ(FormatSize(1000), "1,000");
    EXPECT_EQ(FormatSize(123456789), "123,456,789");
}

TEST(FileOperations, CopyProposalsAreFreeNamesBesideTheFile) {
    QStringList taken = {"C:\\d\\plain2.txt"};
    auto isTaken = [&](const QString& name) { return taken.contains(name); };
    EXPECT_EQ(CopyProposal("C:\\d\\free.txt", isTaken), "C:\\d\\free.txt");
    EXPECT_EQ(CopyProposal("C:\\d\\plain2.txt", isTaken), "C:\\d\\plain2 (copy).txt");
    taken << "C:\\d\\plain2 (copy).txt"
          << "C:\\d\\plain2 (copy 2).txt";
    EXPECT_EQ(CopyProposal("C:\\d\\plain2.txt", isTaken), "C:\\d\\plain2 (copy 3).txt");
    // The extension stays last; a leading dot and a dot in a folder are no extension.
    taken = {"C:\\a.b\\archive.tar.gz", "C:\\.profile", "/tmp/x.y/README"};
    EXPECT_EQ(CopyProposal("C:\\a.b\\archive.tar.gz", isTaken), "C:\\a.b\\archive.tar (copy).gz");
    EXPECT_EQ(CopyProposal("C:\\.profile", isTaken), "C:\\.profile (copy)");
    EXPECT_EQ(CopyProposal("/tmp/x.y/README", isTaken), "/tmp/x.y/README (copy)");
    EXPECT_EQ(FolderOfShownPath("C:\\d\\e.txt"), "C:\\d\\");
    EXPECT_EQ(FolderOfShownPath("/tmp/e.txt"), "/tmp/");
}

TEST(FileOperations, ANewNameThatCannotBeUsedIsRefusedBeforeAnythingIsTried) {
    const QByteArray dir = QFile::encodeName(test::freshDir("new_names"));
    QDir().mkpath(QFile::decodeName(dir + "/a"));
    EXPECT_EQ(NewNameProblem("C:\\a\\b.txt", dir + "/a/b.txt"), "");
    EXPECT_EQ(NewNameProblem("C:\\a/b.txt", dir + "/a/b.txt"),
              "A file name cannot hold \"/\": a/b.txt");
    EXPECT_EQ(NewNameProblem("C:\\a\\", dir + "/a/"),
              "The new name has no file name after its folder.");
    EXPECT_EQ(NewNameProblem("C:\\zz\\b.txt", dir + "/zz/b.txt"),
              "The folder C:\\zz\\ does not exist.");
    EXPECT_EQ(NewNameProblem(QFile::decodeName(dir + "/a/b.txt"), dir + "/a/b.txt"), "");
    EXPECT_EQ(NewNameProblem("plain.txt", "plain.txt"), ""); // beside the working folder

    // TransferFile stops at the problem: nothing is written, the reason follows the error text.
    QFile source(QFile::decodeName(dir + "/s.txt"));
    ASSERT_TRUE(source.open(QIODevice::WriteOnly));
    source.write("s");
    source.close();
    TransferRequest request;
    request.selected = "C:\\s.txt";
    request.newName = "C:\\a/b.txt";
    request.source = dir + "/s.txt";
    request.target = dir + "/a/b.txt";
    const TransferOutcome outcome = TransferFile(request, [](const QString&) { return true; });
    EXPECT_EQ(outcome.kind, TransferOutcome::Failed);
    EXPECT_EQ(outcome.message, "Invalid File Name! (53)\nA file name cannot hold \"/\": a/b.txt");
    EXPECT_FALSE(QFile::exists(QFile::decodeName(dir + "/a/b.txt")));
}

TEST(DesktopApps, TheDefaultApplicationAndItsArgumentList) {
    const QString data = test::freshDir("xdg_data");
    const QString config = test::freshDir("xdg_config");
    qputenv("XDG_DATA_HOME", data.toUtf8());
    // The system's folders stay for the MIME database; their applications come after ours.
    qputenv("XDG_DATA_DIRS", (data + ":/usr/local/share:/usr/share").toUtf8());
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
    qputenv("XDG_CONFIG_DIRS", config.toUtf8());
    writeText(data + "/applications/texty.desktop",
              "[Desktop Entry]\nName=Texty\nExec=/bin/echo --new \"a b\" %U %i\nType=Application\n"
              "MimeType=text/plain;\n");
    writeText(data + "/applications/hidden.desktop",
              "[Desktop Entry]\nName=H\nExec=/bin/true %f\nHidden=true\n");
    writeText(config + "/mimeapps.list",
              "[Added Associations]\ntext/plain=other.desktop;\n"
              "[Default Applications]\ntext/plain=hidden.desktop;missing.desktop;texty.desktop;\n");
    const platform::DesktopApp app = platform::defaultApplicationFor("text/plain");
    ASSERT_TRUE(app.valid());
    EXPECT_EQ(app.id, "texty.desktop");
    EXPECT_EQ(app.executable, "/bin/echo");
    EXPECT_EQ(platform::commandForFile(app, "/t/a $(b);c.txt"),
              QStringList({"/bin/echo", "--new", "a b", "file:///t/a%20$(b);c.txt"}));
    // A sub-type of text/plain that nothing names falls back to its parent's application.
    EXPECT_EQ(platform::defaultApplicationFor("text/csv-schema").id, "texty.desktop");
    EXPECT_FALSE(platform::defaultApplicationFor("application/x-nothing-here").valid());

    EXPECT_EQ(platform::splitExec(R"(prog "with \"quote\"" '' plain)"),
              QStringList({"prog", "with \"quote\"", "''", "plain"}));
    platform::DesktopApp noField;
    noField.executable = "/bin/x";
    noField.exec = {"x", "--flag"};
    EXPECT_EQ(platform::commandForFile(noField, "/f"), QStringList({"/bin/x", "--flag", "/f"}));
}
