#include "backup/update_slots.h"

#include "model/loading.h"
#include "settings/settings_store.h"

namespace orvanex::backup {

namespace {

QString app() {
    return QString::fromLatin1(kMainAppName);
}

const QString kBlank = QStringLiteral(" ");

// The slot's fields in the read order of its keys (model::updateSlotKeys()).
std::array<QString*, 17> fields(SlotValues& v) {
    return {&v.FileType,      &v.FileExtension, &v.Handle,         &v.IconFile,    &v.IconNumber,
            &v.WhichKind,     &v.ActionHandle,  &v.ActionName,     &v.Application, &v.SetDefault,
            &v.UseDDE,        &v.DDEMessage,    &v.DDEApplication, &v.DDERunning,  &v.DDETopic,
            &v.ShowExtension, &v.QuickView};
}

} // namespace

QString whichKind(bool byType, bool action) {
    return (byType ? QStringLiteral("File Type") : QStringLiteral("File Extension")) +
           (action ? QStringLiteral("(Part2)") : QStringLiteral("(Part1)"));
}

bool isEntryKind(const QString& kind) {
    return kind == whichKind(false, false) || kind == whichKind(true, false);
}

bool isActionKind(const QString& kind) {
    return kind == whichKind(false, true) || kind == whichKind(true, true);
}

UpdateSlots::UpdateSlots() {
    captions.fill(kEmptySlotCaption);
}

UpdateSlots UpdateSlots::fromSettings() {
    UpdateSlots slots;
    for (int n = 1; n <= kSlotCount; ++n) {
        const SlotValues v = load(n);
        if (isEntryKind(v.WhichKind) || isActionKind(v.WhichKind)) {
            slots.captions[size_t(n - 1)] = v.FileType;
            slots.LastSlot = n;
        }
    }
    if (slots.LastSlot == kSlotCount)
        slots.SlotsWrapped = kSlotCount;
    return slots;
}

SlotValues UpdateSlots::load(int n) {
    SlotValues v;
    const QString section = model::updateSlotSection(n);
    const QStringList keys = model::updateSlotKeys();
    const auto f = fields(v);
    for (qsizetype i = 0; i < keys.size(); ++i)
        *f[size_t(i)] = GetSetting(app(), section, keys[i], kBlank);
    return v;
}

void UpdateSlots::ClearSlot(int n) {
    SettingsBatch batch(app());
    for (const QString& key : model::updateSlotKeys())
        SaveSetting(app(), model::updateSlotSection(n), key, kBlank);
}

int UpdateSlots::matching(const SlotValues& current, bool action) const {
    for (int n = 1; n <= kSlotCount; ++n) {
        if (captions[size_t(n - 1)] == kEmptySlotCaption)
            continue;
        const SlotValues v = load(n);
        if (v.Handle == current.Handle && v.WhichKind == current.WhichKind &&
            v.FileExtension == current.FileExtension && v.FileType == current.FileType &&
            (!action || v.ActionHandle == current.ActionHandle))
            return n;
    }
    return 0;
}

int UpdateSlots::save(const SlotValues& current, bool action) {
    SettingsBatch batch(app());
    int slot = matching(current, action);
    if (slot > 0) {
        LastSlot = slot;
        ClearSlot(slot);
    } else {
        slot = ++LastSlot;
        if (slot > kSlotCount) {
            slot = LastSlot = 1;
            SlotsWrapped = 1;
        }
        if (SlotsWrapped != 0) {
            ClearSlot(slot);
            SlotsWrapped = slot;
        }
    }
    captions[size_t(slot - 1)] = current.FileType;
    const QString section = model::updateSlotSection(slot);
    const auto put = [&](const char* key, const QString& value) {
        SaveSetting(app(), section, QLatin1String(key), value);
    };
    put("FileType", current.FileType);
    put("FileExtension", current.FileExtension);
    put("Handle", current.Handle);
    if (!action) {
        put("IconFile", current.IconFile);
        put("IconNumber", current.IconNumber);
        put("ShowExtension", current.ShowExtension);
        put("QuickView", current.QuickView);
    }
    put("WhichKind", current.WhichKind);
    if (action) {
        put("ActionHandle", current.ActionHandle);
        put("ActionName", current.ActionName);
        put("Application", current.Application);
        put("SetDefault", current.SetDefault);
        put("UseDDE", current.UseDDE);
        put("DDEMessage", current.DDEMessage);
        put("DDEApplication", current.DDEApplication);
        put("DDERunning", current.DDERunning);
        put("DDETopic", current.DDETopic);
    }
    return slot;
}

int UpdateSlots::SaveEntrySlot(const SlotValues& current) {
    return save(current, false);
}

int UpdateSlots::SaveActionSlot(const SlotValues& current) {
    return save(current, true);
}

int UpdateSlots::EnableEntrySlot(const SlotValues& current) const {
    return matching(current, false);
}

int UpdateSlots::EnableActionSlot(const SlotValues& current) const {
    return matching(current, true);
}

SlotRestore restoreSlot(const UpdateSlots& slots, int n) {
    SlotRestore r;
    if (n < 1 || n > kSlotCount || slots.captions[size_t(n - 1)] == kEmptySlotCaption)
        return r;
    r.values = UpdateSlots::load(n);
    if (isEntryKind(r.values.WhichKind)) {
        r.kind = SlotRestore::Kind::Entry;
        r.status = QStringLiteral("Restore Request!");
    } else if (isActionKind(r.values.WhichKind)) {
        r.kind = SlotRestore::Kind::Action;
        r.status = QStringLiteral("Restore Request!");
    } else {
        r.kind = SlotRestore::Kind::Invalid;
        r.status = QStringLiteral("Restore Request Invalid!");
    }
    return r;
}

} // namespace orvanex::backup
