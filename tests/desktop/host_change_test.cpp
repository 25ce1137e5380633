// Host entries of a real prefix (made by wineboot) and of one that is gone: listed with their
// states, removed after a backup, restored byte for byte, and made on purpose.

#include "backup/backup_records.h"
#include "desktop/host_change.h"
#include "desktop/host_scan.h"
#include "desktop/host_world.h"
#include "desktop/wine_association.h"
#include "registry/wine_registry.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::desktop;
using orvanex::test::HostWorld;

namespace {

class HostEntries : public testing::Test {
protected:
    void SetUp() override {
        const QString root = test::freshDir(QStringLiteral("host"));
        const QString prefix = test::bootedPrefix(root + QStringLiteral("/prefix"));
        if (prefix.isEmpty())
            GTEST_SKIP() << "Wine is not installed";
        w = test::makeHostWorld(root, prefix);
        folders = HostFolders::fromEnvironment();
    }
    QList<HostItem> items() { return scanHostItems(folders); }
    QString find(const QString& ext, HostKind kind) {
        for (const HostItem& i : items())
            if (i.ext == ext && i.kind == kind)
                return stateName(i.state);
        return QStringLiteral("none");
    }
    QStringList exclude() {
        const auto r = reg::openWineRegistry(w.prefix);
        QStringList list;
        readMultiString(*r, reg::HKEY_CURRENT_USER, kAssociationsKey, QStringLiteral("Exclude"),
                        &list);
        return list;
    }
    bool logged(const QString& ext) {
        const auto r = reg::openWineRegistry(w.prefix);
        return keyExists(*r, reg::HKEY_CURRENT_USER, kAssociationsKey + u'\\' + ext);
    }
    HostOutcome remove(const QString& ext) {
        return removeHostItems(folders,
                               entriesOf(items(), [&](const HostItem& i) { return i.ext == ext; }),
                               w.appFolder);
    }
    HostWorld w;
    HostFolders folders;
};

QString mimeOf(const QString& file) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("GNOME"));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("xdg-mime"),
            {QStringLiteral("query"), QStringLiteral("filetype"), file});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

} // namespace

TEST_F(HostEntries, EachItemIsTiedToItsPrefixWithItsState) {
    const QList<HostItem> all = items();
    QStringList lines;
    for (const HostItem& i : all)
        lines.append(i.ext + u' ' + kindName(i.kind) + u' ' + stateName(i.state));
    lines.sort();
    EXPECT_EQ(lines.join(u'\n').toStdString(), QStringList({
                                                               ".gone desktop stale",
                                                               ".gone mime stale",
                                                               ".old desktop orphan",
                                                               ".old icon orphan",
                                                               ".old icon orphan",
                                                               ".old icon orphan",
                                                               ".old icon orphan",
                                                               ".old mime orphan",
                                                               ".old mimeapps orphan",
                                                               ".orvxdoc desktop live",
                                                               ".orvxdoc mime live",
                                                               ".pdf desktop live",
                                                               ".pdf icon live",
                                                               ".pdf icon live",
                                                               ".pdf mimeapps live",
                                                               ".pdf mimeapps live",
                                                               ".rtf desktop live",
                                                               ".rtf mimeapps live",
                                                           })
                                                   .join(u'\n')
                                                   .toStdString());
    for (const HostItem& i : all)
        EXPECT_EQ(i.prefix, i.ext == QLatin1String(".old") ? normalPrefix(w.gonePrefix)
                                                           : normalPrefix(w.prefix))
            << i.path.toStdString();
    // One prefix only.
    for (const HostItem& i : scanHostItems(folders, w.gonePrefix + u'/'))
        EXPECT_EQ(i.ext, QStringLiteral(".old"));
    EXPECT_EQ(scanHostItems(folders, w.gonePrefix).size(), 7);
}

TEST_F(HostEntries, RemovalIsBackedUpAndRestoredByteForByte) {
    const QByteArray before = test::treeBytes(w.dataHome);
    const QByteArray listBefore = test::fileBytes(w.mimeapps());
    ASSERT_TRUE(exclude().isEmpty());

    const HostOutcome out = remove(QStringLiteral(".pdf"));
    ASSERT_TRUE(out.ok) << out.problems.join(u'\n').toStdString();
    EXPECT_FALSE(QFile::exists(w.entry(QStringLiteral("pdf"))));
    EXPECT_EQ(find(QStringLiteral(".pdf"), HostKind::Icon), QStringLiteral("none"));
    EXPECT_TRUE(QFile::exists(w.dataHome + QStringLiteral("/icons/hicolor/16x16/apps/gedit.png")));
    // The line that named another program keeps it; the rest of the list is untouched.
    QFile list(w.mimeapps());
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    EXPECT_EQ(list.readAll().toStdString(),
              "[Default Applications]\r\n"
              "text/plain=gedit.desktop;\r\n"
              "application/x-wine-extension-old=wine-extension-old.desktop\r\n"
              "\r\n"
              "[Added Associations]\r\n"
              "application/pdf=evince.desktop;\r\n"
              "application/rtf=wine-extension-rtf.desktop;\r\n");
    EXPECT_FALSE(logged(QStringLiteral(".pdf")));
    EXPECT_TRUE(logged(QStringLiteral(".orvxdoc")));
    // Wine would write it again: its program is excluded, with Wine's own defaults.
    EXPECT_EQ(exclude(), wineDefaultExcludes());
    EXPECT_TRUE(out.messages.join(u'\n').contains(QLatin1String("winebrowser.exe added to the "
                                                                "Exclude list")));

    // The backup is recorded, and holds a copy of each file and the lines.
    backup::BackupRecord record;
    ASSERT_TRUE(backup::readBackupRecord(out.backupName, &record));
    EXPECT_EQ(record.Type, QStringLiteral("Host"));
    EXPECT_EQ(record.FileExt, QStringLiteral("PDF"));
    EXPECT_EQ(record.File.right(11), out.backupName + QStringLiteral(".dsk"));
    QFile lines(record.File + QStringLiteral("/removed-lines.txt"));
    ASSERT_TRUE(lines.open(QIODevice::ReadOnly));
    EXPECT_EQ(lines.readAll().toStdString(),
              "application/pdf=wine-extension-pdf.desktop;\n"
              "application/pdf=evince.desktop;wine-extension-pdf.desktop;\n");

    const HostOutcome back = restoreHostBackup(folders, out.backupName, w.appFolder);
    ASSERT_TRUE(back.ok) << back.problems.join(u'\n').toStdString();
    EXPECT_EQ(test::treeBytes(w.dataHome), before);
    EXPECT_EQ(test::fileBytes(w.mimeapps()), listBefore);
    EXPECT_TRUE(logged(QStringLiteral(".pdf")));
    EXPECT_TRUE(exclude().isEmpty());
    // The registry's text is Wine's again, whatever keys were written and deleted meanwhile.
    const auto r = reg::openWineRegistry(w.prefix);
    QString progId;
    EXPECT_TRUE(readText(*r, reg::HKEY_CURRENT_USER, kAssociationsKey + QStringLiteral("\\.pdf"),
                         QStringLiteral("ProgID"), &progId));
    EXPECT_EQ(progId, QStringLiteral("pdffile"));
    // A second restore finds everything in place and changes nothing.
    const HostOutcome again = restoreHostBackup(folders, out.backupName, w.appFolder);
    EXPECT_TRUE(again.ok) << again.problems.join(u'\n').toStdString();
    EXPECT_EQ(test::treeBytes(w.dataHome), before);
}

TEST_F(HostEntries, AnExistingExcludeListGainsOnlyTheProgram) {
    {
        const auto r = reg::openWineRegistry(w.prefix);
        bool defaults = false;
        ASSERT_EQ(excludeProgram(*r, QStringLiteral("mine.exe"), &defaults), 0);
        EXPECT_TRUE(defaults);
    }
    const HostOutcome out = remove(QStringLiteral(".orvxdoc"));
    ASSERT_TRUE(out.ok) << out.problems.join(u'\n').toStdString();
    QStringList expected = wineDefaultExcludes();
    expected << QStringLiteral("mine.exe") << QStringLiteral("orvxedit.exe");
    EXPECT_EQ(exclude(), expected);
    EXPECT_FALSE(QFile::exists(w.package(QStringLiteral("orvxdoc"))));
    // Nothing left to remove changes nothing; made and removed again, the program is listed once.
    const HostOutcome none = remove(QStringLiteral(".orvxdoc"));
    EXPECT_TRUE(none.ok && none.messages.isEmpty() && none.backupName.isEmpty());
    ASSERT_TRUE(addHostEntry(folders, w.prefix, QStringLiteral(".orvxdoc")).ok);
    ASSERT_TRUE(remove(QStringLiteral(".orvxdoc")).ok);
    EXPECT_EQ(exclude(), expected);
    ASSERT_TRUE(restoreHostBackup(folders, out.backupName, w.appFolder).ok);
    expected.removeLast();
    EXPECT_EQ(exclude(), expected);
}

TEST_F(HostEntries, OrphansAndStaleEntriesGoWithoutExcludingAnything) {
    const QString oldFile = test::freshDir(QStringLiteral("files")) + QStringLiteral("/a.old");
    {
        // Bytes that are no text, so that the name decides the type.
        QFile f(oldFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("\x00\x01\x02\xff\xfe", 5));
    }
    const QString before = mimeOf(oldFile);
    if (before != QLatin1String("application/x-wine-extension-old"))
        GTEST_SKIP() << "xdg-mime does not read the test's MIME database: " << before.toStdString();

    const HostOutcome out = removeHostItems(
        folders, entriesOf(items(), [](const HostItem& i) { return i.state != HostState::Live; }),
        w.appFolder);
    ASSERT_TRUE(out.ok) << out.problems.join(u'\n').toStdString();
    EXPECT_NE(mimeOf(oldFile), QStringLiteral("application/x-wine-extension-old"));
    for (const HostItem& i : items())
        EXPECT_EQ(i.state, HostState::Live) << i.path.toStdString();
    EXPECT_FALSE(logged(QStringLiteral(".gone")));
    EXPECT_TRUE(exclude().isEmpty());
    EXPECT_TRUE(QFile::exists(w.dataHome + QStringLiteral("/applications/gedit.desktop")));

    ASSERT_TRUE(restoreHostBackup(folders, out.backupName, w.appFolder).ok);
    EXPECT_EQ(mimeOf(oldFile), QStringLiteral("application/x-wine-extension-old"));
}

TEST_F(HostEntries, AFailedBackupRemovesNothing) {
    const QByteArray before = test::treeBytes(w.dataHome);
    QDir(w.appFolder + QStringLiteral("/Backup")).removeRecursively();
    QFile blocker(w.appFolder + QStringLiteral("/Backup"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    const HostOutcome out = remove(QStringLiteral(".pdf"));
    EXPECT_FALSE(out.ok);
    EXPECT_TRUE(out.problems.join(u' ').contains(QLatin1String("Backup Folder Cannot Be Written")));
    EXPECT_EQ(test::treeBytes(w.dataHome), before);
    EXPECT_TRUE(logged(QStringLiteral(".pdf")));
    EXPECT_TRUE(exclude().isEmpty());
}

TEST_F(HostEntries, DisablingTheExportWritesEnableNAfterABackup) {
    const HostOutcome out = disableWineExport(w.prefix, w.appFolder);
    ASSERT_TRUE(out.ok) << out.problems.join(u'\n').toStdString();
    const auto r = reg::openWineRegistry(w.prefix);
    QString enable;
    ASSERT_TRUE(
        readText(*r, reg::HKEY_CURRENT_USER, kAssociationsKey, QStringLiteral("Enable"), &enable));
    EXPECT_EQ(enable, QStringLiteral("N"));
    backup::BackupRecord record;
    ASSERT_TRUE(backup::readBackupRecord(out.backupName, &record));
    QFile saved(record.File);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().contains("\"Enable\"=-"));
    EXPECT_FALSE(disableWineExport(w.gonePrefix, w.appFolder).ok);
}

TEST_F(HostEntries, AddedEntriesAreWhatWineWritesAndValid) {
    // Start from a desktop without Wine's entries of these types.
    QFile::remove(w.entry(QStringLiteral("pdf")));
    QFile::remove(w.entry(QStringLiteral("rtf")));
    {
        const auto r = reg::openWineRegistry(w.prefix);
        for (const auto& [ext, type] :
             {std::pair{".zzq", ""}, std::pair{".orvxnew", "application/x-orvx-new"}}) {
            reg::HKey k = 0;
            ASSERT_EQ(r->createKey(reg::HKEY_CLASSES_ROOT, QString::fromLatin1(ext), &k), 0);
            r->setValueEx(k, {}, reg::type::Sz, "rtffile", 8);
            if (*type)
                r->setValueEx(k, QStringLiteral("Content Type"), reg::type::Sz, type,
                              std::uint32_t(qstrlen(type) + 1));
            r->closeKey(k);
        }
    }
    for (const QString& ext : {QStringLiteral(".pdf"), QStringLiteral("RTF"),
                               QStringLiteral(".orvxnew"), QStringLiteral(".zzq")}) {
        const HostOutcome out = addHostEntry(folders, w.prefix, ext);
        ASSERT_TRUE(out.ok) << ext.toStdString() << out.problems.join(u'\n').toStdString();
    }
    QFile pdf(w.entry(QStringLiteral("pdf")));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_EQ(pdf.readAll(), test::wineEntryText(normalPrefix(w.prefix), QStringLiteral("pdffile"),
                                                 QStringLiteral("application/pdf"),
                                                 QStringLiteral("winebrowser.exe"), QString()));
    // Types the desktop knows have no package; a Content Type gets one under Wine's name.
    EXPECT_FALSE(QFile::exists(w.package(QStringLiteral("pdf"))));
    EXPECT_FALSE(QFile::exists(w.package(QStringLiteral("rtf"))));
    QFile doc(w.package(QStringLiteral("orvxnew")));
    ASSERT_TRUE(doc.open(QIODevice::ReadOnly));
    const QByteArray docText = doc.readAll();
    EXPECT_TRUE(docText.contains("<mime-type type=\"application/x-orvx-new\">")) << docText.data();
    EXPECT_TRUE(docText.contains("<glob pattern=\"*.orvxnew\"/>"));
    EXPECT_TRUE(QFile::exists(w.package(QStringLiteral("zzq"))));
    QFile zzq(w.entry(QStringLiteral("zzq")));
    ASSERT_TRUE(zzq.open(QIODevice::ReadOnly));
    EXPECT_TRUE(zzq.readAll().contains("MimeType=application/x-wine-extension-zzq;\n"));
    for (const QString& ext : {QStringLiteral("pdf"), QStringLiteral("rtf"),
                               QStringLiteral("orvxnew"), QStringLiteral("zzq")}) {
        if (QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate")).isEmpty())
            break;
        QProcess v;
        v.setProcessChannelMode(QProcess::MergedChannels);
        v.start(QStringLiteral("desktop-file-validate"), {w.entry(ext)});
        ASSERT_TRUE(v.waitForFinished(60000));
        EXPECT_EQ(v.exitCode(), 0) << v.readAll().toStdString();
        EXPECT_TRUE(v.readAll().isEmpty());
    }
    // The listing ties them to the prefix, live.
    EXPECT_EQ(find(QStringLiteral(".zzq"), HostKind::DesktopEntry), QStringLiteral("live"));
    // The same entry again changes nothing; one that differs is never replaced; a type without a
    // program is refused.
    EXPECT_TRUE(addHostEntry(folders, w.prefix, QStringLiteral(".pdf")).ok);
    test::writeText(w.entry(QStringLiteral("pdf")), "[Desktop Entry]\nName=mine\n");
    EXPECT_FALSE(addHostEntry(folders, w.prefix, QStringLiteral(".pdf")).ok);
    EXPECT_EQ(test::fileBytes(w.entry(QStringLiteral("pdf"))), "[Desktop Entry]\nName=mine\n");
    EXPECT_FALSE(addHostEntry(folders, w.prefix, QStringLiteral(".nothing")).ok);
    EXPECT_FALSE(addHostEntry(folders, w.gonePrefix, QStringLiteral(".pdf")).ok);
}
