// orvx query's search and orvx compare as scripts call them.

#include "model/default_registry.h"
#include "orvx_run.h"
#include "registry/reg_file.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <optional>

using namespace orvanex;
using namespace orvanex::test;

namespace {

QString importedHive(const QString& dir, const QByteArray& file) {
    const QString hive = dir + "/r.hive";
    writeFile(dir + "/in.reg", file);
    const OrvxRun r = runOrvx({"--hive", hive, "import", dir + "/in.reg"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    return hive;
}

// What a search should print, worked out from an export of the same key with rules of its own.
struct Filter {
    QString find;
    bool keys = false, values = false, data = false, exact = false;
    std::optional<std::uint32_t> type = std::nullopt;

    // The filter the options of a query stand for.
    explicit Filter(const QStringList& args) {
        for (qsizetype i = 0; i < args.size(); ++i) {
            keys |= args[i] == "--keys";
            values |= args[i] == "--values";
            data |= args[i] == "--data";
            exact |= args[i] == "--exact";
            if (args[i] == "--find")
                find = args[++i];
            if (args[i] == "--type")
                type = args[++i].toUpper() == "REG_SZ" ? reg::type::Sz : reg::type::Binary;
        }
    }
};

QString typeText(std::uint32_t t) {
    switch (t) {
    case reg::type::Sz:
        return "REG_SZ";
    case reg::type::ExpandSz:
        return "REG_EXPAND_SZ";
    case reg::type::Binary:
        return "REG_BINARY";
    case reg::type::Dword:
        return "REG_DWORD";
    }
    ADD_FAILURE() << "the filter knows no type " << t;
    return QString();
}

QString dataText(std::uint32_t t, const QByteArray& data) {
    if (t == reg::type::Dword) {
        std::uint32_t v = 0;
        memcpy(&v, data.constData(), 4);
        return "0x" + QString::number(v, 16);
    }
    if (t == reg::type::Binary)
        return QString::fromLatin1(data.toHex()).toUpper();
    const QByteArray text = data.endsWith('\0') ? data.chopped(1) : data;
    EXPECT_FALSE(text.contains('\0') || text.contains('\t') || text.contains('\n'));
    return QString::fromUtf8(text);
}

QString filtered(const reg::RegFileParse& exported, const QString& top, const Filter& f) {
    const bool all = !f.keys && !f.values && !f.data;
    const auto hit = [&](const QString& text) {
        return f.exact ? text.compare(f.find, Qt::CaseInsensitive) == 0
                       : text.contains(f.find, Qt::CaseInsensitive);
    };
    QString out, key;
    bool shown = false;
    for (const reg::RegFileOp& op : exported.ops) {
        if (op.kind == reg::RegFileOp::CreateKey) {
            key = op.key;
            const QString leaf = key.section(u'\\', -1);
            shown = f.find.isEmpty() ? !f.type : key != top && (all || f.keys) && hit(leaf);
            if (shown)
                out += key + '\n';
            continue;
        }
        const QString data = dataText(op.type, op.data);
        const bool found = f.find.isEmpty() || ((all || f.values) && hit(op.valueName)) ||
                           ((all || f.data) && hit(data));
        if (!found || (f.type && op.type != *f.type))
            continue;
        if (!shown)
            out += key + '\n';
        shown = true;
        QString escaped = data;
        out += QString(op.valueName).replace("\\", "\\\\") + '\t' + typeText(op.type) + '\t' +
               escaped.replace("\\", "\\\\") + '\n';
    }
    return out;
}

} // namespace

TEST(OrvxQuery, ASearchOfTheDefaultRegistryFindsWhatAFilterOverItsExportFinds) {
    const QString dir = freshDir("orvx-query-default");
    const QString hive = dir + "/default.hive";
    {
        auto registry = reg::Registry::openHive(hive);
        ASSERT_EQ(model::writeDefaultClasses(*registry), 0);
    }
    const QString top = "HKEY_CLASSES_ROOT";
    ASSERT_EQ(runOrvx({"--hive", hive, "export", top, dir + "/all.reg"}).code, 0);
    const reg::RegFileParse exported = reg::parseRegFile(readFile(dir + "/all.reg"));
    ASSERT_TRUE(exported.warnings.isEmpty());
    ASSERT_GT(exported.ops.size(), 200u);

    const QStringList queries[] = {
        {},
        {"--find", "txt"},
        {"--find", "NOTEPAD", "--data"},
        {"--find", "shell", "--keys"},
        {"--find", "open", "--exact"},
        {"--find", "content type", "--values", "--exact"},
        {"--find", "exe", "--keys", "--data"},
        {"--type", "REG_SZ"},
        {"--find", "a", "--type", "reg_binary"},
        {"--find", "file", "--type", "reg_sz", "--values", "--data"},
    };
    for (const QStringList& args : queries) {
        const QString expected = filtered(exported, top, Filter(args));
        ASSERT_FALSE(expected.isEmpty()) << args.join(' ').toStdString();
        const OrvxRun r = runOrvx(QStringList{"--hive", hive, "query", top, "--recursive"} + args);
        EXPECT_EQ(r.code, 0) << args.join(' ').toStdString();
        EXPECT_EQ(r.out, expected) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    }
    // Nothing found: status 1 and nothing printed anywhere.
    const OrvxRun none = runOrvx({"--hive", hive, "query", top, "--recursive", "--find", "zq#"});
    EXPECT_EQ(none.code, 1);
    EXPECT_TRUE(none.out.isEmpty() && none.err.isEmpty());
}

TEST(OrvxQuery, LooksOneLevelDownUnlessRecursiveAndEscapesWhatWouldBreakALine) {
    const QString hive =
        importedHive(freshDir("orvx-query-rules"), "REGEDIT4\r\n\r\n"
                                                   "[HKEY_CURRENT_USER\\Q]\r\n"
                                                   "\"tab\"=hex(1):61,09,62\r\n"
                                                   "\"multi\"=hex(7):61,5c,00,62,00,00\r\n"
                                                   "\"n\"=dword:0000002a\r\n"
                                                   "[HKEY_CURRENT_USER\\Q\\Sub]\r\n"
                                                   "\"deep\"=\"Needle\"\r\n"
                                                   "[HKEY_CURRENT_USER\\Q\\needle]\r\n");
    const struct {
        QStringList args;
        int code;
        const char* out;
    } cases[] = {
        {{"--find", "needle"}, 0, "HKEY_CURRENT_USER\\Q\\needle\n"},
        {{"--find", "needle", "--recursive"},
         0,
         "HKEY_CURRENT_USER\\Q\\needle\nHKEY_CURRENT_USER\\Q\\Sub\ndeep\tREG_SZ\tNeedle\n"},
        {{"--find", "needl", "--recursive", "--exact"}, 1, ""},
        {{"--find", "NEEDLE", "--recursive", "--exact", "--values"}, 1, ""},
        {{"--find", "NEEDLE", "--recursive", "--exact", "--data"},
         0,
         "HKEY_CURRENT_USER\\Q\\Sub\ndeep\tREG_SZ\tNeedle\n"},
        {{"--type", "REG_MULTI_SZ"}, 0, "HKEY_CURRENT_USER\\Q\nmulti\tREG_MULTI_SZ\ta\\\\\\0b\n"},
        {{"--type", "reg_sz", "--recursive"},
         0,
         "HKEY_CURRENT_USER\\Q\ntab\tREG_SZ\ta\\tb\nHKEY_CURRENT_USER\\Q\\Sub\ndeep\tREG_"
         "SZ\tNeedle\n"},
        {{"--find", "0x2a", "--data"}, 0, "HKEY_CURRENT_USER\\Q\nn\tREG_DWORD\t0x2a\n"},
        {{"--type", "REG_QWORD", "--recursive"}, 1, ""},
    };
    for (const auto& c : cases) {
        const OrvxRun r = runOrvx(QStringList{"--hive", hive, "query", "HKCU\\Q"} + c.args);
        EXPECT_EQ(r.code, c.code) << c.args.join(' ').toStdString() << r.err.toStdString();
        EXPECT_EQ(r.out, QString::fromUtf8(c.out)) << c.args.join(' ').toStdString();
    }
    const struct {
        QStringList args;
        const char* message;
    } refused[] = {
        {{"HKCU\\Q", "--keys"}, "need --find"},
        {{"HKCU\\Q", "--find="}, "needs a text"},
        {{"HKCU\\Q", "--type", "REG_WHAT"}, "is not a value type"},
        {{"HKCU\\Nothing", "--recursive"}, "does not exist"},
        {{"HKCU\\Q", "HKCU", "--recursive"}, "usage"},
    };
    for (const auto& c : refused) {
        const OrvxRun r = runOrvx(QStringList{"--hive", hive, "query"} + c.args);
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.err.contains(QLatin1String(c.message))) << r.err.toStdString();
    }
}

TEST(OrvxCompare, ListsWhatTurnsTheFirstIntoTheSecondWithStatusTwo) {
    const QString dir = freshDir("orvx-compare");
    const QByteArray a = "REGEDIT4\r\n\r\n"
                         "[HKEY_CURRENT_USER\\C]\r\n"
                         "\"same\"=\"1\"\r\n"
                         "\"changed\"=\"old\"\r\n"
                         "\"gone\"=\"x\"\r\n"
                         "[HKEY_CURRENT_USER\\C\\Old]\r\n"
                         "\"v\"=\"1\"\r\n"
                         "[HKEY_CLASSES_ROOT\\.c]\r\n"
                         "@=\"cfile\"\r\n";
    const QByteArray b = "REGEDIT4\n"
                         "[HKEY_CLASSES_ROOT\\.c]\n"
                         "@=\"cfile\"\n"
                         "\"Content Type\"=\"text/c\"\n"
                         "[HKEY_CURRENT_USER\\C]\n"
                         "\"changed\"=\"new\"\n"
                         "\"same\"=\"1\"\n"
                         "\"added\"=dword:1\n"
                         "[HKEY_CURRENT_USER\\C\\New]\n";
    writeFile(dir + "/a.reg", a);
    writeFile(dir + "/b.reg", b);
    OrvxRun r = runOrvx({"compare", dir + "/a.reg", dir + "/b.reg"});
    EXPECT_EQ(r.code, 2) << r.err.toStdString();
    const QString user = "change value [HKEY_CURRENT_USER\\C] \"changed\": \"old\" -> \"new\"\n"
                         "add value [HKEY_CURRENT_USER\\C] \"added\" = dword:00000001\n"
                         "remove value [HKEY_CURRENT_USER\\C] \"gone\" (was \"x\")\n"
                         "delete key [HKEY_CURRENT_USER\\C\\Old]\n"
                         "create key [HKEY_CURRENT_USER\\C\\New]\n";
    // The classes root is listed once, not again below the local machine.
    EXPECT_EQ(r.out, "add value [HKEY_CLASSES_ROOT\\.c] \"Content Type\" = \"text/c\"\n" + user);

    r = runOrvx({"compare", dir + "/b.reg", dir + "/a.reg"});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.out.contains("create key [HKEY_CURRENT_USER\\C\\Old]\n"));
    EXPECT_TRUE(r.out.contains("delete key [HKEY_CURRENT_USER\\C\\New]\n"));

    r = runOrvx({"compare", dir + "/a.reg", dir + "/a.reg"});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.isEmpty());

    // A key of the registry against a file: only that key's subtree counts.
    const QString hive = importedHive(dir, a);
    r = runOrvx({"--hive", hive, "compare", "HKCU\\C", dir + "/b.reg"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, user);
    EXPECT_EQ(runOrvx({"--hive", hive, "compare", "HKEY_CLASSES_ROOT\\.c", dir + "/a.reg"}).code,
              0);
    r = runOrvx({"--hive", hive, "compare", "HKCU\\C\\Old", dir + "/b.reg"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "delete key [HKEY_CURRENT_USER\\C\\Old]\n");

    writeFile(dir + "/notes.reg", "shopping list\r\n");
    const struct {
        QStringList args;
        const char* message;
    } failed[] = {
        {{"compare", dir + "/a.reg"}, "usage"},
        {{"compare", dir + "/a.reg", dir + "/missing.reg"}, "cannot read"},
        {{"compare", dir + "/notes.reg", dir + "/a.reg"}, "not a registry file"},
        {{"compare", "HKCU\\Nowhere", dir + "/a.reg"}, "does not exist"},
    };
    for (const auto& c : failed) {
        r = runOrvx(QStringList{"--hive", hive} + c.args);
        EXPECT_EQ(r.code, 1) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QLatin1String(c.message))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}
