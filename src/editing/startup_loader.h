#pragma once
// Where the index-list loading plugs into the main window's start-up. The window calls these at
// fixed points of its load and timer handlers; the base class loads nothing, which leaves the
// lists empty.

namespace orvanex {

struct MainContext;

class StartupLoader {
public:
    virtual ~StartupLoader() = default;
    // Load handler, before the update slots are marked empty: fill the extension locate list.
    virtual void fillExtensionLocateList(MainContext&) {}
    // Load handler, last step, while the window's painting is held back: set up the three lists
    // and read every extension key.
    virtual void enumerateExtensions(MainContext&) {}
    // Timer handler, while the second splash is shown under the hourglass pointer: the file-type
    // list, the update slots, the backup counter and the application and icon-file lists.
    virtual void buildLists(MainContext&) {}
};

} // namespace orvanex
