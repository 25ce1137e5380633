#pragma once
// The ten update slots: the last ten changes of a run, kept in the settings sections "Update01"
// to "Update10" in a ring, each recallable into the editing fields.

#include <QString>
#include <array>

namespace orvanex::backup {

inline constexpr int kSlotCount = 10;
inline const QString kEmptySlotCaption = QStringLiteral("?");

// The seventeen texts of one slot; an empty slot holds a single blank in each.
struct SlotValues {
    QString FileType, FileExtension, Handle, WhichKind;
    QString IconFile, IconNumber, ShowExtension, QuickView;
    QString ActionHandle, ActionName, Application, SetDefault, UseDDE;
    QString DDEMessage, DDEApplication, DDERunning, DDETopic;
};

// "File Extension(Part1)", "File Type(Part2)", ...: what a slot holds, by the selection mode.
QString whichKind(bool byType, bool action);
bool isEntryKind(const QString& kind);
bool isActionKind(const QString& kind);

class UpdateSlots {
public:
    // Menu captions: "?" for a slot not saved in this run, else the description saved.
    std::array<QString, kSlotCount> captions;
    int LastSlot = 0;
    int SlotsWrapped = 0;

    UpdateSlots();
    // The ring as the settings show it (for a process that did not save the slots itself):
    // slots holding an entry or action count as saved, the last of them as written last.
    static UpdateSlots fromSettings();

    // Reads slot n (1 to 10).
    static SlotValues load(int n);
    // A single blank into all seventeen keys of slot n.
    static void ClearSlot(int n);

    // Record a change; return the slot written.
    int SaveEntrySlot(const SlotValues& current);
    int SaveActionSlot(const SlotValues& current);
    // The first saved slot that matches the entry or action shown (0: none); only its menu item
    // is enabled.
    int EnableEntrySlot(const SlotValues& current) const;
    int EnableActionSlot(const SlotValues& current) const;

private:
    int matching(const SlotValues& current, bool action) const;
    int save(const SlotValues& current, bool action);
};

// Choosing a slot's menu item: the values to put back into the fields, or why not.
struct SlotRestore {
    enum class Kind { Nothing, Entry, Action, Invalid };
    Kind kind = Kind::Nothing; // Nothing: the item is "?"
    SlotValues values;
    QString status; // "Restore Request!" or "Restore Request Invalid!"
};
SlotRestore restoreSlot(const UpdateSlots& slots, int n);

} // namespace orvanex::backup
