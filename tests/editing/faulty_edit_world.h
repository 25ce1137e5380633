#pragma once
// An editing context over a registry in memory, seen through a FaultyRegistry so that a test can
// fail chosen writes; with fresh settings, App folder and update slots.

#include "../backup/backup_fixture.h"
#include "editing/edit_context.h"
#include "model/loading.h"
#include "registry/faulty_registry.h"

namespace orvanex::test {

struct FaultyEditWorld {
    BackupFixture f;
    reg::FaultyRegistry faulty;
    reg::RegState state;
    platform::DriveMap drives;
    backup::BackupState backupState;
    backup::UpdateSlots slots;
    editing::EditContext ctx;

    explicit FaultyEditWorld(const QString& name)
        : f(name), faulty(f.registry()),
          drives(platform::DriveMap::forHive(f.appFolder + "/x.hive")),
          ctx{state, drives, f.extensions, f.fileTypes, f.appFolder, backupState, slots} {
        resetSettings();
        state.registry = &faulty;
        model::ResetUpdateSlots();
    }
    QString read(const QString& key, const QString& value = QString()) {
        QString text;
        reg::ReadText(f.state(), key, value, &text);
        return text;
    }
    bool exists(const QString& key) {
        reg::HKey k = 0;
        if (f.registry().openKeyEx(reg::HKEY_CLASSES_ROOT, key, 0, reg::KEY_ALL_USED, &k) != 0)
            return false;
        f.registry().closeKey(k);
        return true;
    }
    static QString errorText(reg::Status s) {
        reg::RegState probe;
        reg::RegErrorText(probe, s);
        return probe.ErrorText;
    }
};

} // namespace orvanex::test
