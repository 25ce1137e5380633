// The store over a Windows installation's own hives, on hives the tests make with hivex.

#include "nt_fixture.h"
#include "registry/nt_hive.h"
#include "registry/nt_registry.h"
#include "registry/nt_windows.h"
#include "registry/reg_file.h"
#include "registry/registry_choice.h"
#include "store_calls.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvanex::reg;
using namespace orvanex::test;

namespace {

// Every value type, in the bytes Windows stores them with.
const QString MachineReg =
    TxtClassesReg +
    QStringLiteral(
        R"("Content Type"=hex(1):74,00,65,00,78,00,74,00,2f,00,70,00,6c,00,61,00,69,00,6e,00,00,00

[\Classes\txtfile]
@=hex(1):54,00,e9,00,78,00,74,00,20,00,ac,20,00,00
"EditFlags"=dword:00010000
"Expand"=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,52,00,6f,00,6f,00,74,00,25,00,5c,00,6e,00,2e,00,65,00,78,00,65,00,00,00
"Multi"=hex(7):61,00,00,00,62,00,00,00,00,00
"Bin"=hex(3):00,01,fe,ff
"BE"=hex(5):00,00,00,01
"Q"=hex(b):01,02,03,04,05,06,07,08
"None"=hex(0):
"Odd"=hex(80000001):de,ad,be
"Bare"=hex(1):61,00,62,00
"Twice"=hex(1):61,00,00,00,00,00

[\Classes\txtfile\shell]

[\Classes\txtfile\shell\open]

[\Classes\txtfile\shell\open\command]
@=hex(2):6e,00,2e,00,65,00,78,00,65,00,20,00,25,00,31,00,00,00

[\Classes\Other]
"Keep"=dword:00000007
)");

const QString UserReg = QStringLiteral(R"([\.txt]
@=hex(1):75,00,73,00,65,00,72,00,00,00

[\.usr]
@=hex(1):75,00,00,00
)");

QByteArray query(Registry& r, HKey root, const QString& key, const QString& name,
                 std::uint32_t* type = nullptr) {
    HKey k = 0;
    if (r.openKeyEx(root, key, 0, KEY_ALL_USED, &k) != status::Success)
        return "<no key>";
    std::uint32_t size = 0, t = 0;
    QByteArray out;
    if (r.queryValueEx(k, name, &t, nullptr, &size) == status::Success) {
        out.resize(size);
        r.queryValueEx(k, name, &t, out.data(), &size);
        out.truncate(size);
    } else {
        out = "<no value>";
    }
    r.closeKey(k);
    if (type)
        *type = t;
    return out;
}

struct Hives {
    QTemporaryDir dir;
    QString machine = dir.filePath(QStringLiteral("SOFTWARE"));
    QString user = dir.filePath(QStringLiteral("UsrClass.dat"));
    Hives() {
        EXPECT_TRUE(makeHive(machine, MachineReg));
        EXPECT_TRUE(makeHive(user, UserReg));
    }
    NtLocation where(bool withUser = true) const {
        NtLocation w;
        w.machineHive = machine;
        w.userHive = withUser ? user : QString();
        return w;
    }
};

} // namespace

TEST(NtHiveValues, ReadAsWindowsReadsThemAndWrittenBackWithTheirOwnBytes) {
    Hives h;
    const QByteArray before = exportHive(h.machine, QStringLiteral("\\Classes\\txtfile"));
    ASSERT_FALSE(before.startsWith("<failed")) << before.toStdString();
    std::vector<StoredValue> values;
    {
        NtRegistry r(h.where());
        ASSERT_FALSE(r.isReadOnly()) << r.problem().toStdString();
        std::uint32_t t = 0;
        // REG_SZ without its terminator; the query adds one, as the ANSI API does.
        EXPECT_EQ(query(r, HKEY_CLASSES_ROOT, "txtfile", "", &t),
                  QByteArray("T\xc3\xa9xt \xe2\x82\xac\0", 10));
        EXPECT_EQ(t, type::Sz);
        EXPECT_EQ(query(r, HKEY_CLASSES_ROOT, "txtfile", "Bare"), QByteArray("ab\0", 3));
        EXPECT_EQ(query(r, HKEY_CLASSES_ROOT, "txtfile", "Twice"), QByteArray("a\0", 2));
        EXPECT_EQ(query(r, HKEY_CLASSES_ROOT, "txtfile", "expand"),
                  QByteArray("%SystemRoot%\\n.exe\0", 19));
        EXPECT_EQ(query(r, HKEY_CLASSES_ROOT, "txtfile", "Multi"), QByteArray("a\0b\0\0", 5));
        EXPECT_EQ(query(r, HKEY_CLASSES_ROOT, "txtfile", "Odd", &t), QByteArray("\xde\xad\xbe"));
        EXPECT_EQ(t, 0x80000001u);
        EXPECT_EQ(query(r, HKEY_CLASSES_ROOT, "txtfile", "None", &t), QByteArray());
        HKey k = 0;
        ASSERT_EQ(r.openKeyEx(HKEY_CLASSES_ROOT, "TXTFILE", 0, KEY_ALL_USED, &k), status::Success);
        QString name;
        std::uint32_t type = 0;
        QByteArray data;
        for (std::uint32_t i = 0; r.enumValue(k, i, &name, &type, &data) == status::Success; ++i)
            values.push_back({name, type, data});
        r.closeKey(k);
        ASSERT_EQ(values.size(), 11u);
        EXPECT_EQ(values[1].name, "EditFlags"); // the hive's order, names as written
        // Everything written back as it was read: every byte stays.
        for (const StoredValue& v : values)
            ASSERT_EQ(setData(r, HKEY_CLASSES_ROOT, "txtfile", v.name, v.type, v.data), 0);
    }
    QByteArray after = exportHive(h.machine, QStringLiteral("\\Classes\\txtfile"));
    // Only the unterminated REG_SZ comes back terminated, as Windows' own API writes it.
    QByteArray expected = before;
    expected.replace("\"Bare\"=hex(1):61,00,62,00\n", "\"Bare\"=hex(1):61,00,62,00,00,00\n");
    EXPECT_EQ(after, expected);
}

TEST(NtHiveValues, DecodingKeepsEveryUnitAndDropsOneTerminatorOfRegSz) {
    const char sz[] = {'a', 0, 0, 0, 0, 0};
    EXPECT_EQ(nt::decodeValue(type::Sz, sz, 6), QByteArray("a\0", 2));
    EXPECT_EQ(nt::decodeValue(type::Sz, sz, 4), QByteArray("a"));
    EXPECT_EQ(nt::decodeValue(type::Sz, sz, 3), QByteArray("a")); // the odd byte is no unit
    EXPECT_EQ(nt::decodeValue(type::MultiSz, sz, 6), QByteArray("a\0\0", 3));
    EXPECT_EQ(nt::encodeValue(type::Sz, "a"), QByteArray(sz, 4));
    EXPECT_EQ(nt::encodeValue(type::ExpandSz, QByteArray("a\0", 2)), QByteArray(sz, 4));
    EXPECT_EQ(nt::encodeValue(type::Binary, "a"), QByteArray("a"));
}

TEST(NtRegistryMerge, UserClassesOverMachineClassesAndEachHiveInItsPlace) {
    Hives h;
    NtRegistry r(h.where());
    EXPECT_EQ(query(r, HKEY_CLASSES_ROOT, ".txt", ""), QByteArray("user\0", 5));
    EXPECT_EQ(query(r, HKEY_CLASSES_ROOT, ".txt", "Content Type"), "<no value>");
    EXPECT_EQ(query(r, HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\.txt", ""),
              QByteArray("txtfile\0", 8));
    EXPECT_EQ(query(r, HKEY_CURRENT_USER, "Software\\Classes\\.usr", ""), QByteArray("u\0", 2));
    QStringList names;
    QString name;
    for (std::uint32_t i = 0; r.enumKeyEx(HKEY_CLASSES_ROOT, i, &name) == status::Success; ++i)
        names.append(name);
    EXPECT_EQ(names, QStringList({".txt", ".usr", "Other", "txtfile"}));

    // Without the user's hive the machine's classes show alone.
    NtRegistry machineOnly(h.where(false));
    EXPECT_EQ(query(machineOnly, HKEY_CLASSES_ROOT, ".txt", ""), QByteArray("txtfile\0", 8));
    EXPECT_EQ(query(machineOnly, HKEY_CLASSES_ROOT, ".usr", ""), "<no key>");
}

TEST(NtRegistryMerge, AChangeGoesToTheHiveWhereItsKeyLivesAndNewKeysToTheMachine) {
    Hives h;
    const QByteArray other = exportHive(h.machine, QStringLiteral("\\Classes\\Other"));
    const QByteArray userBefore = fileBytes(h.user);
    {
        NtRegistry r(h.where());
        EXPECT_EQ(setData(r, HKEY_CLASSES_ROOT, "txtfile", "EditFlags", type::Dword,
                          QByteArray("\1\0\0\0", 4)),
                  0);
        EXPECT_EQ(setData(r, HKEY_CLASSES_ROOT, ".new", "", type::Sz, "newfile"), 0);
    }
    EXPECT_EQ(fileBytes(h.user), userBefore);
    EXPECT_TRUE(
        exportHive(h.machine, "\\Classes\\txtfile").contains("\"EditFlags\"=dword:00000001"));
    EXPECT_TRUE(exportHive(h.machine, "\\Classes\\.new").contains("[\\Classes\\.new]"));
    EXPECT_EQ(exportHive(h.machine, QStringLiteral("\\Classes\\Other")), other);

    const QByteArray machineBefore = fileBytes(h.machine);
    {
        NtRegistry r(h.where());
        EXPECT_EQ(setData(r, HKEY_CLASSES_ROOT, ".txt", "", type::Sz, "mine"), 0);
        HKey k = 0;
        ASSERT_EQ(r.openKeyEx(HKEY_CLASSES_ROOT, ".usr", 0, KEY_ALL_USED, &k), 0);
        EXPECT_EQ(r.deleteValue(k, ""), 0);
        r.closeKey(k);
    }
    EXPECT_EQ(fileBytes(h.machine), machineBefore);
    EXPECT_TRUE(exportHive(h.user, "\\.txt").contains("@=hex(1):6d,00,69,00,6e,00,65,00,00,00"));
    EXPECT_FALSE(exportHive(h.user, "\\.usr").contains("@="));
    // A reopened registry reads what was committed.
    NtRegistry again(h.where());
    EXPECT_EQ(query(again, HKEY_CLASSES_ROOT, ".new", ""), QByteArray("newfile\0", 8));
    EXPECT_EQ(query(again, HKEY_CLASSES_ROOT, ".txt", ""), QByteArray("mine\0", 5));
}

TEST(NtRegistryMerge, ANewClassGoesIntoAMachineHiveThatHasNoClassesKeyYet) {
    QTemporaryDir dir;
    NtLocation where;
    where.machineHive = dir.filePath(QStringLiteral("SOFTWARE"));
    ASSERT_TRUE(
        makeHive(where.machineHive, QStringLiteral("[\\Vendor]\n\"Keep\"=dword:00000003\n")));
    {
        NtRegistry r(where);
        EXPECT_EQ(setData(r, HKEY_CLASSES_ROOT, ".new", "", type::Sz, "newfile"), 0);
        EXPECT_EQ(query(r, HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\.new", ""),
                  QByteArray("newfile\0", 8));
    }
    EXPECT_TRUE(exportHive(where.machineHive, "\\Classes\\.new")
                    .contains("@=hex(1):6e,00,65,00,77,00,66,00,69,00,6c,00,65,00,00,00"));
    EXPECT_TRUE(exportHive(where.machineHive, "\\Vendor").contains("\"Keep\"=dword:00000003"));
}

TEST(NtRegistryMerge, DeletingAKeyTakesBothCopiesAndItsBackupBringsItBackByteForByte) {
    Hives h;
    const QByteArray before = exportHive(h.machine, QStringLiteral("\\Classes\\txtfile"));
    QByteArray backup;
    {
        NtRegistry r(h.where());
        const RegExport saved =
            exportRegFile(r, QStringLiteral("HKEY_CLASSES_ROOT\\txtfile"), RegFormat::Regedit4);
        ASSERT_EQ(saved.status, status::Success);
        backup = saved.bytes;
        EXPECT_EQ(r.deleteKey(HKEY_CLASSES_ROOT, "txtfile"), 0);
        EXPECT_EQ(r.deleteKey(HKEY_CLASSES_ROOT, ".txt"), 0);
        EXPECT_EQ(r.deleteKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes"), status::AccessDenied);
    }
    EXPECT_FALSE(exportHive(h.machine, "\\").contains("txtfile]"));
    EXPECT_FALSE(exportHive(h.user, "\\").contains(".txt]"));
    {
        NtRegistry r(h.where());
        const RegImport merged = importRegFile(r, backup);
        EXPECT_TRUE(merged.error.isEmpty() && !merged.refused) << merged.error.toStdString();
    }
    // The unterminated REG_SZ comes back terminated, as Windows' own API writes it; the backup
    // holds a string as Windows exports it, up to its first NUL, so only the padding NUL is gone.
    QByteArray expected = before;
    expected.replace("\"Bare\"=hex(1):61,00,62,00\n", "\"Bare\"=hex(1):61,00,62,00,00,00\n");
    expected.replace("\"Twice\"=hex(1):61,00,00,00,00,00\n", "\"Twice\"=hex(1):61,00,00,00\n");
    EXPECT_EQ(exportHive(h.machine, QStringLiteral("\\Classes\\txtfile")), expected);
}

namespace {

// Opens the hive, tries a change, and tells whether the refusal came with the reason.
void expectRefused(const NtLocation& where, const QString& file, const char* reason) {
    const QByteArray before = fileBytes(file);
    {
        NtRegistry r(where);
        EXPECT_TRUE(r.isReadOnly());
        EXPECT_TRUE(r.problem().contains(QLatin1String(reason))) << r.problem().toStdString();
        EXPECT_EQ(setData(r, HKEY_CLASSES_ROOT, "txtfile", "x", type::Sz, "y"),
                  status::AccessDenied);
        EXPECT_NE(r.deleteKey(HKEY_CLASSES_ROOT, "Other"), status::Success);
    }
    EXPECT_EQ(fileBytes(file), before);
}

} // namespace

TEST(NtRegistryRefusals, AHiveWindowsHasNotFinishedWithIsNeverWritten) {
    Hives h;
    const QByteArray clean = fileBytes(h.machine);
    QByteArray hive = clean;
    // Unapplied logs: still read, never written.
    setSequence2(hive, 99);
    ASSERT_TRUE(writeBytes(h.machine, hive));
    expectRefused(h.where(), h.machine, "start Windows once, or shut it down fully");
    {
        NtRegistry r(h.where());
        EXPECT_EQ(query(r, HKEY_CLASSES_ROOT, ".txt", ""), QByteArray("user\0", 5));
        EXPECT_EQ(query(r, HKEY_CLASSES_ROOT, "Other", "Keep"), QByteArray("\7\0\0\0", 4));
    }
    // The same beside a hiberfil.sys: hibernated or fast-started.
    NtLocation hibernated = h.where();
    hibernated.hiberfil = h.dir.filePath(QStringLiteral("hiberfil.sys"));
    ASSERT_TRUE(writeBytes(hibernated.hiberfil, QByteArray(16, '\0')));
    expectRefused(hibernated, h.machine, "hibernated or fast-started");
    // A hiberfil.sys that still holds a session, with a clean hive.
    hive = clean;
    ASSERT_TRUE(writeBytes(h.machine, hive));
    ASSERT_TRUE(writeBytes(hibernated.hiberfil, "HIBR" + QByteArray(12, '\0')));
    expectRefused(hibernated, h.machine, "holds its memory");
    // Cut short.
    ASSERT_TRUE(writeBytes(h.machine, hive.left(hive.size() - 100)));
    expectRefused(h.where(), h.machine, "is truncated");
    // Not a hive, and a hive whose header hivex refuses.
    ASSERT_TRUE(writeBytes(h.machine, QByteArray(8192, 'x')));
    expectRefused(h.where(), h.machine, "is not a registry hive");
    QByteArray badSum = fileBytes(h.user);
    badSum[0x1FC] = char(badSum[0x1FC] ^ 1);
    ASSERT_TRUE(writeBytes(h.machine, badSum));
    expectRefused(h.where(), h.machine, "cannot be read as a registry hive");
}

TEST(NtRegistryRefusals, AHiveChangedByAnotherProgramIsNotReplaced) {
    Hives h;
    NtRegistry r(h.where());
    Hives other;
    const QByteArray theirs = fileBytes(other.machine) + "x";
    ASSERT_TRUE(writeBytes(h.machine, theirs));
    EXPECT_EQ(setData(r, HKEY_CLASSES_ROOT, "txtfile", "x", type::Sz, "y"), status::CantWrite);
    EXPECT_TRUE(r.problem().contains("changed by another program"));
    EXPECT_EQ(fileBytes(h.machine), theirs);
}

TEST(NtHiveCommit, KeepsTheModeAndFollowsALink) {
    Hives h;
    ASSERT_TRUE(QFile::setPermissions(h.machine, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                     QFileDevice::ReadGroup));
    const QString link = h.dir.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(h.machine, link));
    NtLocation where = h.where();
    where.machineHive = link;
    {
        NtRegistry r(where);
        EXPECT_EQ(
            setData(r, HKEY_CLASSES_ROOT, "Other", "New", type::Dword, QByteArray("\2\0\0\0", 4)),
            0);
    }
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(QFile::permissions(h.machine), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ReadUser | QFileDevice::WriteUser |
                                                 QFileDevice::ReadGroup);
    EXPECT_TRUE(exportHive(h.machine, "\\Classes\\Other").contains("\"New\"=dword:00000002"));
    EXPECT_EQ(QDir(h.dir.path()).entryList(QDir::Hidden | QDir::Files).filter(".SOFTWARE."),
              QStringList());
}

TEST(NtWindowsLocation, FindsTheHivesWithoutRegardToCaseAndAsksWhichUser) {
    QTemporaryDir dir;
    const QString root = dir.path();
    ASSERT_TRUE(makeHive(root + "/WINDOWS/system32/Config/software", MachineReg));
    NtLocation where;
    QString why;
    ASSERT_TRUE(locateWindows(root, QString(), &where, &why)) << why.toStdString();
    EXPECT_EQ(where.machineHive, root + "/WINDOWS/system32/Config/software");
    EXPECT_TRUE(where.userHive.isEmpty());
    const QString usr = "/AppData/Local/Microsoft/Windows/UsrClass.dat";
    ASSERT_TRUE(makeHive(root + "/Users/ana" + usr, UserReg));
    ASSERT_TRUE(locateWindows(root, QString(), &where, &why));
    EXPECT_EQ(where.user, "ana");
    ASSERT_TRUE(makeHive(root + "/Users/Bo/appdata/local/microsoft/windows/usrclass.DAT", UserReg));
    QDir().mkpath(root + "/Users/Public");
    EXPECT_FALSE(locateWindows(root, QString(), &where, &why));
    EXPECT_TRUE(why.contains("--windows-user: Bo, ana") || why.contains("ana, Bo"))
        << why.toStdString();
    ASSERT_TRUE(locateWindows(root, "bo", &where, &why)) << why.toStdString();
    EXPECT_EQ(where.user, "Bo");
    EXPECT_FALSE(locateWindows(root, "Public", &where, &why));
    EXPECT_FALSE(locateWindows(root + "/Users", QString(), &where, &why));
    EXPECT_TRUE(why.contains("is not a Windows installation"));
    // The choice's order: --hive and --wine-prefix come first.
    const OfflineWindowsOptions offline{root, "ana", {}, {}};
    EXPECT_TRUE(chooseRegistry(QString(), QString(), offline).offline.windows == root);
    EXPECT_TRUE(chooseRegistry("h.hive", QString(), offline).isOwnHive());
    EXPECT_FALSE(chooseRegistry(QString(), "/p", offline).winePrefix.isEmpty());
    EXPECT_EQ(chooseRegistry(QString(), QString(), offline).description(),
              "Windows registry of " + root + " (user ana)");
}
