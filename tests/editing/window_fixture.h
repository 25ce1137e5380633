#pragma once
// A main window on the standard types with a Backup folder of its own, for the tests that work
// the window's panels and changes, and the registry read back as the tests check it.

#include "../backup/backup_fixture.h"
#include "editing_world.h"
#include "registry/reg_state.h"
#include "support/test_env.h"
#include "ui_main_window.h"

#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace orvanex::test {

class MainWindowTest : public testing::Test {
protected:
    // name: the hive's folder; the App folder is name + "-app".
    explicit MainWindowTest(const QString& name) : world(name), m_name(name) {}

    void SetUp() override {
        resetSettings();
        world.addStandardTypes();
        ui = world.start().form();
        world.ctx().AppFolder = freshDir(m_name + "-app");
        createBackupFolder(world.ctx().AppFolder);
    }
    void showType(const QString& description) {
        QTest::mouseClick(ui->cmdSelectByFileType, Qt::LeftButton);
        pressRowText(ui->flex2, description);
    }
    void showExtension(const QString& ext) {
        QTest::mouseClick(ui->cmdSelectByFileExtension, Qt::LeftButton);
        pressRowText(ui->flex1, ext);
    }
    QString read(const QString& key, const QString& value = QString()) {
        QString text;
        reg::RegState st;
        st.registry = &world.registry();
        reg::ReadText(st, key, value, &text);
        return text;
    }
    bool exists(const QString& key) {
        reg::HKey k = 0;
        if (world.registry().openKeyEx(reg::HKEY_CLASSES_ROOT, key, 0, reg::KEY_ALL_USED, &k))
            return false;
        world.registry().closeKey(k);
        return true;
    }

    EditingWorld world;
    Ui::frmORVANEX* ui = nullptr;

private:
    QString m_name;
};

} // namespace orvanex::test
