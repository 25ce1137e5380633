#pragma once
// The few options ORVANEX takes before its window is built: --help, --version, and
// --user-app-folder, which the desktop entry passes so that a start from the menu keeps its
// Backup folder in the user's data folder rather than wherever the menu was started.

#include <optional>

namespace orvanex {

// Acts on the options of the command line before any window exists (so --help needs no
// display). Returns an exit code when the program should end at once.
std::optional<int> applyStartOptions(int argc, char** argv);

} // namespace orvanex
