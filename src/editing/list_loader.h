#pragma once
// The index-list loading of the main window's load handler and one-shot timer: the extension
// table and grid, then the file-type grid, the update slots, the backup counter and the lists
// of known command lines and icon files.

#include "editing/startup_loader.h"

#include <memory>

namespace orvanex::editing {

class FileTypeLoader final : public StartupLoader {
public:
    void fillExtensionLocateList(MainContext& ctx) override;
    void enumerateExtensions(MainContext& ctx) override;
    void buildLists(MainContext& ctx) override;
};

std::unique_ptr<StartupLoader> makeFileTypeLoader();

// Both lists and their tables read again from the registry (after an undo), sorted by name, with
// nothing shown.
void reloadLists(MainContext& ctx);

// The two locate boxes: cleared, "   Locate" shown, the 26 letter items and the tool tip.
void fillLocateList(MainContext& ctx, bool fileTypes);

} // namespace orvanex::editing
