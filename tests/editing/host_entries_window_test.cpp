// The window "Linux Desktop Entries": its rows, Remove and Restore, the File menu item and the
// keyboard.

#include "desktop/host_world.h"
#include "editing/frm_host_entries.h"
#include "editing/grid_view.h"
#include "support/test_env.h"

#include <QApplication>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace orvanex;
using orvanex::editing::FrmHostEntries;

namespace {

QStringList rowsOf(const FrmHostEntries& w) {
    QStringList rows;
    for (const desktop::HostItem& i : w.model()->records())
        rows.append(i.ext + u' ' + desktop::kindName(i.kind) + u' ' + desktop::stateName(i.state));
    return rows;
}

int rowOf(const FrmHostEntries& w, const QString& ext) {
    return w.model()->findRecord([&](const desktop::HostItem& i) { return i.ext == ext; });
}

// A prefix with live, orphaned and stale entries, and the window shown over it.
class HostEntriesWindow : public ::testing::Test {
protected:
    void open(const QString& folder) {
        const QString root = test::freshDir(folder);
        world = test::makeHostWorld(root, test::makeTextPrefix(root + QStringLiteral("/prefix")));
        shown = std::make_unique<FrmHostEntries>(world.appFolder, world.prefix, nullptr);
        shown->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(shown.get()));
    }
    test::HostWorld world;
    std::unique_ptr<FrmHostEntries> shown;
};

} // namespace

TEST_F(HostEntriesWindow, ListsRemovesAndRestores) {
    ASSERT_NO_FATAL_FAILURE(open(QStringLiteral("host-window")));
    FrmHostEntries& window = *shown;
    test::screenshot(QStringLiteral("host-entries.png"));
    const QStringList rows = rowsOf(window);
    EXPECT_TRUE(rows.contains(QStringLiteral(".pdf desktop live")))
        << rows.join(u',').toStdString();
    EXPECT_TRUE(rows.contains(QStringLiteral(".old desktop orphan")));
    EXPECT_TRUE(rows.contains(QStringLiteral(".gone mime stale")));
    const int rowsBefore = window.model()->recordCount();

    editing::setCurrentRow(window.grid(), rowOf(window, QStringLiteral(".old")));
    window.cmdRemoveHost_Click(false);
    EXPECT_EQ(rowOf(window, QStringLiteral(".old")), -1);
    EXPECT_EQ(window.model()->recordCount(), rowsBefore - 7);
    EXPECT_TRUE(window.statusText().contains(QLatin1String("Backup: ")))
        << window.statusText().toStdString();
    const QString name = window.statusText()
                             .section(QStringLiteral("Backup: "), 1)
                             .section(u'\n', 0, 0)
                             .section(u'/', -1)
                             .left(7);

    window.cmdRestoreHost_Click(name);
    EXPECT_EQ(window.model()->recordCount(), rowsBefore) << window.statusText().toStdString();
    EXPECT_NE(rowOf(window, QStringLiteral(".old")), -1);
    window.cmdRestoreHost_Click(QStringLiteral("Reg9999"));
    EXPECT_TRUE(window.statusText().contains(QLatin1String("no backup of desktop entries")));
}

TEST_F(HostEntriesWindow, EveryButtonHasItsOwnAltLetterAndEscapeCloses) {
    ASSERT_NO_FATAL_FAILURE(open(QStringLiteral("host-keys")));
    FrmHostEntries& window = *shown;
    QStringList letters;
    for (const QPushButton* b : window.findChildren<QPushButton*>()) {
        const qsizetype amp = b->text().indexOf(u'&');
        ASSERT_GE(amp, 0) << b->text().toStdString();
        letters.append(b->text().mid(amp + 1, 1).toLower());
    }
    EXPECT_EQ(letters.size(), 5);
    letters.removeDuplicates();
    EXPECT_EQ(letters.size(), 5);
    window.activateWindow();
    QTest::keyClick(window.grid(), Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}
