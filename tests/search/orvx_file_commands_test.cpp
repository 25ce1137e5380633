// orvx copy, move, trash and the launching commands, run as a script runs them: the copy panel's
// rules and texts, a file of the new name that is only replaced when asked, and the programs the
// window would start, with the file as one argument.

#include "orvx_run.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace orvanex;
using test::readFile;
using test::writeFile;

namespace {

// orvx on its own hive and data folder, started in `home`.
test::OrvxRun orvx(const QStringList& args, const QString& home,
                   const QString& dataHome = QString()) {
    test::OrvxSetup setup;
    setup.env.insert("ORVANEX_HIVE", home + "/registry.hive");
    setup.env.insert("XDG_DATA_HOME", dataHome.isEmpty() ? home + "/data" : dataHome);
    const QByteArray folder = QFile::encodeName(home);
    setup.inChild = [folder] {
        if (::chdir(folder.constData()) != 0)
            ::_exit(126);
    };
    return test::runOrvx(args, setup);
}

// The drive map's Z: is the root folder: "Z:\tmp\x" for "/tmp/x".
QString onDriveZ(QString native) {
    return QStringLiteral("Z:") + native.replace(u'/', u'\\');
}

} // namespace

TEST(OrvxFileCommands, CopyAndMoveFollowThePanelsRules) {
    const QString home = test::freshDir("orvx_files");
    const QString a = home + "/a file.txt", b = home + "/b.txt";
    writeFile(a, "first");

    test::OrvxRun r = orvx({"copy", a, b}, home);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Request Completed!\n");
    EXPECT_EQ(readFile(a), "first");
    EXPECT_EQ(readFile(b), "first");

    // The same name is no request; nothing is written.
    r = orvx({"copy", a, a}, home);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("File Name Not Changed!")) << r.err.toStdString();

    // A file of the new name is kept unless the question is answered beforehand.
    writeFile(a, "second, longer");
    r = orvx({"copy", a, b}, home);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("File already exists  /  Do you want to replace the file?"))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("Old File:        " + b));
    EXPECT_TRUE(r.err.contains("not replaced"));
    EXPECT_EQ(readFile(b), "first");
    r = orvx({"copy", a, b, "--replace"}, home);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(readFile(b), "second, longer");

    // A move renames; the drive map's paths name the same files.
    const QString c = home + "/renamed.txt";
    r = orvx({"move", onDriveZ(b), onDriveZ(c)}, home);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(b));
    EXPECT_EQ(readFile(c), "second, longer");
    r = orvx({"move", a, c}, home);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(readFile(a), "second, longer"); // declined: both stay
    EXPECT_EQ(readFile(c), "second, longer");

    // A missing source is the panel's error text.
    r = orvx({"move", home + "/gone.txt", home + "/x.txt"}, home);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("Invalid File Name! (53)")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(home + "/x.txt"));
    EXPECT_EQ(orvx({"copy"}, home).code, 1); // a usage error
}

TEST(OrvxFileCommands, TrashKeepsTheFileInTheUsersTrash) {
    const QString home = test::freshDir("orvx_trash");
    const QString file = home + "/old notes.txt";
    writeFile(file, "notes");
    test::OrvxRun r = orvx({"trash", file}, home);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, file + " ** Deleted **\n");
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(readFile(home + "/data/Trash/files/old notes.txt"), "notes");
    EXPECT_TRUE(QFile::exists(home + "/data/Trash/info/old notes.txt.trashinfo"));

    r = orvx({"trash", file}, home);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(file + " ** Error **")) << r.err.toStdString();

    // No trash can be made (the data folder would be below a file): the file stays where it
    // was, and nothing is left in the working folder.
    const QString kept = home + "/kept.txt";
    writeFile(kept, "kept");
    r = orvx({"trash", kept}, home, kept + "/data");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(readFile(kept), "kept");
    EXPECT_FALSE(QFileInfo::exists(home + "/files")) << "the file went below the working folder";
    EXPECT_FALSE(QFileInfo::exists(home + "/info"));
}

namespace {

// A program that writes its arguments, one a line, to its own path + ".out" (whole or not at all).
QString writeRecorder(const QString& path) {
    writeFile(path, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.tmp\" && mv \"$0.tmp\" \"$0.out\"\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

// What the recorder at path was started with; empty when it did not run within a minute.
QByteArray recorded(const QString& path) {
    if (!QTest::qWaitFor([&] { return QFileInfo::exists(path + ".out"); }, 60000))
        return {};
    const QByteArray arguments = readFile(path + ".out");
    QFile::remove(path + ".out");
    return arguments;
}

} // namespace

TEST(OrvxFileCommands, LaunchingCommandsStartWhatTheWindowStarts) {
    const QString home = test::freshDir("orvx_launch");
    const QString data = home + "/xdg_data", config = home + "/xdg_config";
    const QString editor = writeRecorder(home + "/editor");
    const QString viewer = writeRecorder(home + "/pelusa"); // the App folder's viewer
    ASSERT_TRUE(QDir().mkpath(data + "/applications") && QDir().mkpath(config));
    // The system's MIME database without the system's programs, which must never be started here.
    const QString mimeOnly = home + "/mime_only";
    ASSERT_TRUE(QDir().mkpath(mimeOnly) && QFile::link("/usr/share/mime", mimeOnly + "/mime"));
    writeFile(data + "/applications/recorder.desktop",
              ("[Desktop Entry]\nType=Application\nName=Recorder\nExec=" + editor +
               " --opened %f\nMimeType=text/plain;\n")
                  .toUtf8());
    const QString folders = writeRecorder(home + "/folders");
    writeFile(data + "/applications/folders.desktop",
              ("[Desktop Entry]\nType=Application\nName=Folders\nExec=" + folders +
               " %f\nMimeType=inode/directory;\n")
                  .toUtf8());
    writeFile(config + "/mimeapps.list", "[Default Applications]\ntext/plain=recorder.desktop;\n"
                                         "inode/directory=folders.desktop;\n");
    const QString notes = home + "/my notes $(x);.txt";
    writeFile(notes, "plain text\n");

    auto run = [&](const QStringList& args) {
        test::OrvxSetup setup;
        setup.env.insert("ORVANEX_HIVE", home + "/registry.hive");
        setup.env.insert("XDG_DATA_HOME", data);
        setup.env.insert("XDG_DATA_DIRS", data + ":" + mimeOnly);
        setup.env.insert("XDG_CONFIG_HOME", config);
        setup.env.insert("XDG_CONFIG_DIRS", config);
        // No session bus, so no file manager of this desktop answers.
        setup.env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + home + "/no-bus");
        const QByteArray folder = QFile::encodeName(home);
        setup.inChild = [folder] {
            if (::chdir(folder.constData()) != 0)
                ::_exit(126);
        };
        return test::runOrvx(args, setup);
    };

    test::OrvxRun r = run({"opens-with", notes});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    ASSERT_EQ(r.out, editor + "\n"); // else a real program of this desktop would be started below
    EXPECT_FALSE(QFileInfo::exists(editor + ".out")) << "opens-with started the program";

    // The file is one argument, however it is spelled; a drive path names the same file.
    for (const QString& command : {QStringLiteral("open"), QStringLiteral("edit")}) {
        r = run({command, onDriveZ(notes)});
        ASSERT_EQ(r.code, 0) << command.toStdString() << ": " << r.err.toStdString();
        EXPECT_EQ(r.out, editor + "\n");
        EXPECT_EQ(recorded(editor), ("--opened\n" + notes + "\n").toUtf8())
            << command.toStdString();
    }
    r = run({"view", notes});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, viewer + "\n");
    EXPECT_EQ(recorded(viewer), (notes + "\n").toUtf8());

    // Where no file manager answers, the folder opens in the desktop's program for folders, and
    // the properties are the file's summary.
    r = run({"show-in-folder", notes});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, folders + "\n");
    EXPECT_EQ(recorded(folders), (home + "\n").toUtf8());
    r = run({"properties", notes});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Launch Program:       " + editor)) << r.out.toStdString();

    // Without a text editor, edit shows the file in the viewer, as the window's Notepad does; a
    // file that no program opens is refused with the window's text.
    writeFile(config + "/mimeapps.list", "[Default Applications]\n");
    QFile::remove(data + "/applications/recorder.desktop");
    r = run({"edit", notes});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, viewer + "\n");
    EXPECT_EQ(recorded(viewer), (notes + "\n").toUtf8());
    const QString odd = home + "/blob.orvx-nothing";
    writeFile(odd, QByteArray("\x00\x01\x02\xff", 4));
    r = run({"opens-with", odd});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("No Open With Program Associated With This File!"))
        << r.err.toStdString();
    EXPECT_EQ(run({"open", odd}).code, 1);
    EXPECT_EQ(run({"open"}).code, 1); // a usage error
}

TEST(OrvxFileCommands, ImageGivesThePicturesSizeAndPixelsOrSaysWhyNot) {
    const QString home = test::freshDir("orvx_image");
    QImage picture(3, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            picture.setPixel(x, y, qRgb(40 * x, 100 * y, 200));
    const QString bmp = home + "/a picture.bmp";
    ASSERT_TRUE(picture.save(bmp, "BMP"));

    test::OrvxRun r = orvx({"image", onDriveZ(bmp), "--png", home + "/out.png"}, home);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "3 x 2\n");
    const QImage saved(home + "/out.png");
    ASSERT_EQ(saved.size(), picture.size());
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(saved.pixel(x, y), picture.pixel(x, y)) << x << "," << y;

    // Written beside its place and renamed in: nothing else is left, and a place that cannot take
    // the file (a folder of that name) is reported and left as it was.
    EXPECT_EQ(QDir(home).entryList(QDir::Files | QDir::Hidden),
              QStringList({"a picture.bmp", "out.png"}));

    ASSERT_TRUE(QDir().mkpath(home + "/taken.png/inside"));
    r = orvx({"image", bmp, "--png", home + "/taken.png"}, home);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("cannot write")) << r.err.toStdString();
    EXPECT_TRUE(QFileInfo(home + "/taken.png/inside").isDir());

    // Every format the window offers Image for is read.
    for (const char* format : {"png", "jpeg", "ico"}) {
        const QString file = home + "/p." + format;
        ASSERT_TRUE(picture.save(file, format)) << format;
        r = orvx({"image", file}, home);
        EXPECT_EQ(r.out, "3 x 2\n") << format << r.err.toStdString();
    }
    writeFile(home + "/p.gif",
              QByteArray::fromHex("47494638396101000100800000ffffff00000021f9040100"
                                  "0000002c00000000010001000002024401003b"));
    r = orvx({"image", home + "/p.gif"}, home);
    EXPECT_EQ(r.out, "1 x 1\n") << r.err.toStdString();

    // Not a picture: the window's status text, and nothing written.
    const QString text = home + "/notes.bmp";
    writeFile(text, "just words\n");
    r = orvx({"image", text, "--png", home + "/none.png"}, home);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("Cannot show " + text + " as a picture: ")) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(home + "/none.png"));
}

TEST(OrvxFileCommands, CopyWithoutANewNameTakesAFreeNameBesideTheFile) {
    const QString home = test::freshDir("orvx_copy_proposal");
    const QString plain = home + "/plain2.txt";
    writeFile(plain, "two");
    test::OrvxRun r = orvx({"copy", onDriveZ(plain)}, home);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, onDriveZ(home + "/plain2 (copy).txt") + "\nRequest Completed!\n");
    EXPECT_EQ(readFile(home + "/plain2 (copy).txt"), "two");
    r = orvx({"copy", plain}, home);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, home + "/plain2 (copy 2).txt\nRequest Completed!\n");
    // The question names the file that would go and the one that would replace it.
    writeFile(home + "/other.txt", "other");
    r = orvx({"copy", home + "/other.txt", plain}, home);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("Old File:        " + plain + "\n")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("New File:        " + home + "/other.txt\n"));
    // A name that cannot be used says why, and nothing is written.
    r = orvx({"copy", plain, onDriveZ(home) + "\\sub/x.txt"}, home);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("A file name cannot hold \"/\": sub/x.txt")) << r.err.toStdString();
    r = orvx({"move", plain, home + "/none/x.txt"}, home);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("The folder " + home + "/none/ does not exist."))
        << r.err.toStdString();
    EXPECT_EQ(readFile(plain), "two");
    EXPECT_EQ(orvx({"move", plain}, home).code, 1); // a move needs its new name
}

TEST(OrvxFileCommands, TerminalEditorsRunInATerminalAndTheViewerRefusesAFifo) {
    const QString home = test::freshDir("orvx_terminal");
    const QString data = home + "/xdg_data", config = home + "/xdg_config", bin = home + "/bin";
    const QString mimeOnly = home + "/mime_only";
    ASSERT_TRUE(QDir().mkpath(data + "/applications") && QDir().mkpath(config) &&
                QDir().mkpath(bin) && QDir().mkpath(mimeOnly) &&
                QFile::link("/usr/share/mime", mimeOnly + "/mime"));
    const QString vim = writeRecorder(home + "/vimlike");
    const QString viewer = writeRecorder(home + "/pelusa");
    writeFile(data + "/applications/vimlike.desktop",
              ("[Desktop Entry]\nType=Application\nName=V\nExec=" + vim +
               " %f\nTerminal=true\nMimeType=text/plain;\n")
                  .toUtf8());
    writeFile(config + "/mimeapps.list", "[Default Applications]\ntext/plain=vimlike.desktop;\n");
    const QString notes = home + "/notes.txt";
    writeFile(notes, "text\n");
    auto run = [&](const QStringList& args) {
        test::OrvxSetup setup;
        setup.env.insert("ORVANEX_HIVE", home + "/registry.hive");
        setup.env.insert("XDG_DATA_HOME", data);
        setup.env.insert("XDG_DATA_DIRS", data + ":" + mimeOnly);
        setup.env.insert("XDG_CONFIG_HOME", config);
        setup.env.insert("XDG_CONFIG_DIRS", config);
        setup.env.insert("PATH", bin); // never the system's own terminal
        const QByteArray folder = QFile::encodeName(home);
        setup.inChild = [folder] {
            if (::chdir(folder.constData()) != 0)
                ::_exit(126);
        };
        return test::runOrvx(args, setup);
    };
    ASSERT_TRUE(QFile::link("/bin/mv", bin + "/mv")); // all the recorders need
    const QString terminal = writeRecorder(bin + "/x-terminal-emulator");
    test::OrvxRun r = run({"edit", notes});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, vim + "\n");
    EXPECT_EQ(recorded(terminal), ("-e\n" + vim + "\n" + notes + "\n").toUtf8());
    QFile::remove(terminal);
    r = run({"edit", notes}); // no terminal: the viewer
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, viewer + "\n");
    EXPECT_EQ(recorded(viewer), (notes + "\n").toUtf8());
    r = run({"open", notes});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(vim + " runs in a terminal, and this desktop has none"))
        << r.err.toStdString();

    const QString fifo = home + "/pipe";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    r = run({"view", fifo});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("Cannot view " + fifo + ": It is not a regular file."))
        << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(viewer + ".out"));
}
