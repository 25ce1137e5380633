#pragma once
// The editing handlers of the main window, created once with the window and connected to its
// controls.

namespace orvanex {
struct MainContext;
}

namespace orvanex::editing {

class SelectionHandlers;
class ActionGridHandlers;
class HelpHandlers;

struct MainHandlers {
    SelectionHandlers* selection = nullptr;
    ActionGridHandlers* actions = nullptr;
    HelpHandlers* help = nullptr;
};

// Creates the handlers as children of ctx.window (which owns them).
MainHandlers installMainHandlers(MainContext& ctx);

} // namespace orvanex::editing
