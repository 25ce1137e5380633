// orvx host: what scripts see of the host entries, and the window's operations run from a shell.

#include "desktop/host_world.h"
#include "orvx_run.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace orvanex::test;

namespace {

QStringList linesOf(const QString& text) {
    return text.split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

TEST(OrvxHost, ListRemoveRestoreAddAndDisable) {
    const QString root = freshDir(QStringLiteral("orvx-host"));
    const HostWorld w = makeHostWorld(root, makeTextPrefix(root + QStringLiteral("/prefix")));
    const QString prefix = QDir::cleanPath(w.prefix);

    OrvxRun r = runOrvx({QStringLiteral("host"), QStringLiteral("list")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList lines = linesOf(r.out);
    EXPECT_TRUE(lines.contains(QStringLiteral(".pdf\tdesktop\tlive\t") + prefix + u'\t' +
                               w.entry(QStringLiteral("pdf"))))
        << r.out.toStdString();
    EXPECT_TRUE(lines.contains(
        QStringLiteral(".old\tmimeapps\torphan\t") + QDir::cleanPath(w.gonePrefix) + u'\t' +
        w.mimeapps() +
        QStringLiteral("\tapplication/x-wine-extension-old=wine-extension-old.desktop")));
    r = runOrvx({QStringLiteral("host"), QStringLiteral("list"), QStringLiteral("--wine-prefix"),
                 w.gonePrefix});
    EXPECT_EQ(linesOf(r.out).size(), 7) << r.out.toStdString();

    const QByteArray before = treeBytes(w.dataHome);
    r = runOrvx({QStringLiteral("host"), QStringLiteral("remove"), QStringLiteral("--stale")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(w.entry(QStringLiteral("gone"))));
    EXPECT_TRUE(QFile::exists(w.entry(QStringLiteral("old"))));
    const QString backup = r.out.section(QStringLiteral("Backup: "), 1).section(u'\n', 0, 0);
    const QString name = QFileInfo(backup).completeBaseName();
    ASSERT_TRUE(name.startsWith(QLatin1String("Reg"))) << r.out.toStdString();
    r = runOrvx({QStringLiteral("host"), QStringLiteral("restore"), name});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(treeBytes(w.dataHome), before);

    // A live entry: its program is kept from coming back.
    r = runOrvx({QStringLiteral("host"), QStringLiteral("remove"), QStringLiteral("RTF"),
                 QStringLiteral("--wine-prefix"), w.prefix});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QLatin1String("wordpad.exe added to the Exclude list")))
        << r.out.toStdString();
    r = runOrvx({QStringLiteral("--wine-prefix"), w.prefix, QStringLiteral("host"),
                 QStringLiteral("add"), QStringLiteral(".rtf")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(w.entry(QStringLiteral("rtf"))));

    r = runOrvx({QStringLiteral("--wine-prefix"), w.prefix, QStringLiteral("host"),
                 QStringLiteral("disable")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QLatin1String("Enable=N")));
}

TEST(OrvxHost, RefusesWhatItCannotDo) {
    const QString root = freshDir(QStringLiteral("orvx-host-bad"));
    const HostWorld w = makeHostWorld(root, makeTextPrefix(root + QStringLiteral("/prefix")));
    for (const QStringList& args :
         {QStringList{QStringLiteral("host")},
          QStringList{QStringLiteral("host"), QStringLiteral("wipe")},
          QStringList{QStringLiteral("host"), QStringLiteral("remove")},
          QStringList{QStringLiteral("host"), QStringLiteral("remove"), QStringLiteral(".pdf"),
                      QStringLiteral("--orphans")},
          QStringList{QStringLiteral("host"), QStringLiteral("remove"), QStringLiteral("a/b")},
          QStringList{QStringLiteral("host"), QStringLiteral("add"), QStringLiteral(".pdf")},
          QStringList{QStringLiteral("host"), QStringLiteral("restore"), QStringLiteral("Reg1000")},
          QStringList{QStringLiteral("--wine-prefix"), w.gonePrefix, QStringLiteral("host"),
                      QStringLiteral("add"), QStringLiteral(".pdf")},
          QStringList{QStringLiteral("--wine-prefix"), w.prefix, QStringLiteral("host"),
                      QStringLiteral("add"), QStringLiteral(".pdf")}}) {
        const OrvxRun r = runOrvx(args);
        EXPECT_EQ(r.code, 1) << args.join(u' ').toStdString() << r.out.toStdString();
        EXPECT_TRUE(r.err.startsWith(QLatin1String("orvx: "))) << args.join(u' ').toStdString();
    }
    EXPECT_EQ(
        runOrvx({QStringLiteral("host"), QStringLiteral("remove"), QStringLiteral(".none")}).out,
        QStringLiteral("nothing to remove\n"));
}
