#pragma once
// The detail panel of the main window: the clearing routines every editing handler uses, and
// showing the extension or file type of a grid row with its icon, flags and actions.

namespace orvanex {
struct MainContext;
}

namespace orvanex::editing {

// EditState 0, status and action grid emptied, icon and fields cleared, fields locked, Apply off.
void ClearDetailArea(MainContext& ctx);
// The action panel's fields and remembered action forgotten; DDE boxes enabled and white.
void ClearActionFields(MainContext& ctx);
// The commands that need a shown entry, off until the next one is shown.
void DisableEntryControls(MainContext& ctx);
// The same but for the scroll bar and the icon buttons (a new entry being typed keeps those).
void DisableEntryCommands(MainContext& ctx);
// The ten restore items of the update slots off.
void DisableUpdateSlotItems(MainContext& ctx);

// Shows the entry of a data row (0-based) of flex1 or flex2, read from the row's record; the
// clicked column's text is quoted in the status line.
void ShowExtension(MainContext& ctx, int tableRow, int column);
void ShowFileType(MainContext& ctx, int tableRow, int column);

// flex3 refilled from the session's action list (headers, rows, padding).
void showActionList(MainContext& ctx);

// The DDE boxes of the action panel: enabled white, or disabled dark blue (0x800000, the
// colour value's blue byte is the high one).
void setDdeBoxesEnabled(MainContext& ctx, bool enabled);

} // namespace orvanex::editing
