// The registry a first run starts with, and the icon files it makes.

#include "model/default_registry.h"
#include "model/icon_location.h"
#include "model/loading.h"
#include "model/readers.h"
#include "platform/icon_extract.h"
#include "support/test_env.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::model;

namespace {

struct DefaultHive {
    DefaultHive() : registry(reg::Registry::inMemory()) {
        state.registry = registry.get();
        EXPECT_EQ(writeDefaultClasses(*registry), 0);
        drive = test::freshDir("default_drive");
        EXPECT_EQ(writeDefaultIconFiles(drive), "");
        drives.setDrive(u'C', drive);
        model = LoadStartupModel(state, drives, false);
    }
    std::unique_ptr<reg::Registry> registry;
    reg::RegState state;
    QString drive;
    platform::DriveMap drives;
    StartupModel model;
};

DefaultHive& defaultHive() {
    static DefaultHive hive;
    return hive;
}

} // namespace

TEST(DefaultRegistry, HasTheBreadthOfARealClassesRoot) {
    DefaultHive& h = defaultHive();
    EXPECT_GE(h.model.extensions.entries.size(), 150);
    EXPECT_GE(h.model.fileTypes.rows.size(), 100);

    int dde = 0, withDefault = 0, quickView = 0, alwaysShow = 0, contentTypes = 0;
    for (const FileTypeEntry& t : h.model.fileTypes.types) {
        const ActionList actions = LoadActions(h.state, t.TypeName);
        withDefault += actions.DefaultFound ? 1 : 0;
        for (const ActionEntry& a : actions.actions)
            dde += a.UsesDde == kYes ? 1 : 0;
        const Flags flags = LoadFlags(h.state, t.TypeName);
        quickView += flags.QuickView == kYes ? 1 : 0;
        alwaysShow += flags.AlwaysShowExt == kYes ? 1 : 0;
    }
    for (const ExtensionEntry& e : h.model.extensions.entries)
        contentTypes += e.ContentType != " " ? 1 : 0;
    EXPECT_GE(dde, 5);
    EXPECT_GE(withDefault, 10);
    EXPECT_GE(quickView, 10);
    EXPECT_GE(alwaysShow, 3);
    EXPECT_GE(contentTypes, 50);
    EXPECT_GE(h.model.lists.applications.items().size(), 50);

    // The special keys and the odd cases a real registry has.
    QStringList exts;
    for (const ExtensionEntry& e : h.model.extensions.entries)
        exts.append(e.Ext + "=" + e.Description);
    EXPECT_TRUE(exts.contains("*=Used for all file extensions"));
    EXPECT_TRUE(exts.contains("UNKNOWN=Used for unregistered file extensions"));
    EXPECT_TRUE(exts.contains("XIF=XIF__File")); // a CLSID type that is not there
    EXPECT_TRUE(exts.contains("DIC=DIC__File")); // no type at all
    EXPECT_TRUE(exts.contains("PCD=PhotoCD"));   // a type key that is missing
    EXPECT_TRUE(exts.contains("TXT=Text Document"));
}

TEST(DefaultRegistry, EveryIconResolvesToAFileWithEnoughIcons) {
    DefaultHive& h = defaultHive();
    int checked = 0;
    for (const FileTypeEntry& t : h.model.fileTypes.types) {
        reg::RegState& s = h.state;
        QString value;
        if (!reg::ReadText(s, t.TypeName + "\\DefaultIcon", QString(), &value) ||
            value.startsWith(u'%'))
            continue;
        IconLocation icon = SplitIconLocation(value);
        QString path = icon.File;
        if (path.size() < 2 || path[1] != u':')
            path = "C:\\WINDOWS\\SYSTEM\\" + path;
        const QString native = h.drives.toNative(path);
        ASSERT_TRUE(QFileInfo(native).isFile())
            << t.TypeName.toStdString() << " " << value.toStdString();
        const int count = platform::extractIconCount(native);
        EXPECT_GT(count, icon.Index) << value.toStdString();
        EXPECT_FALSE(platform::extractIcon(native, icon.Index).isNull()) << value.toStdString();
        ++checked;
    }
    EXPECT_GE(checked, 90);
    // Every existing icon file of a type reached the icon-file list.
    EXPECT_GE(h.model.lists.iconFiles.items().size(), 10);
}

TEST(DefaultRegistry, IsMadeOnlyForAMissingDefaultHive) {
    const QString folder = test::freshDir("default_hive");
    const QString path = folder + "/registry.hive";

    EXPECT_FALSE(ensureDefaultRegistry({path, false, {}}).created);
    EXPECT_FALSE(QFileInfo::exists(path));

    const DefaultRegistryResult made = ensureDefaultRegistry({path, true, {}});
    EXPECT_EQ(made.error, "");
    EXPECT_TRUE(made.created);
    EXPECT_TRUE(QFileInfo(folder + "/drive_c/WINDOWS/SYSTEM/shell32.dll").isFile());

    auto registry = reg::Registry::openHive(path);
    reg::RegState state;
    state.registry = registry.get();
    EXPECT_EQ(ReadTypeName(state, ".txt"), "txtfile");
    // A second start leaves what the user has.
    EXPECT_EQ(reg::WriteText(state, ".txt", QString(), "mytext"), 0);
    registry.reset();
    EXPECT_FALSE(ensureDefaultRegistry({path, true, {}}).created);
    registry = reg::Registry::openHive(path);
    state.registry = registry.get();
    EXPECT_EQ(ReadTypeName(state, ".txt"), "mytext");
}
