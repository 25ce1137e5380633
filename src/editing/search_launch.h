#pragma once
// The main window's "&Search": the search window over the selected entry's extensions.

namespace orvanex {
struct MainContext;
namespace search {

// Passes ExtensionList and FileTypeName of the selected row, disables the main window and shows
// the search window modally; the main window is enabled again when it closes.
void cmdFindExts_Click(MainContext& ctx);

} // namespace search
} // namespace orvanex
