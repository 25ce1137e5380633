#pragma once
// The state the main window's handlers share. The window owns one; each group of handlers
// (editing, backup, reports, ...) is a class of its own that works on it through a reference, so
// the window itself stays a list of widgets and lifecycle handlers.

#include "editing/window_state.h"
#include "model/grid_rows.h"
#include "registry/reg_state.h"

#include <QString>
#include <array>
#include <memory>

class QMainWindow;
namespace Ui {
class frmORVANEX;
}

namespace orvanex {

struct EditingSession; // editing/editing_session.h

struct MainContext {
    QMainWindow* window = nullptr;
    Ui::frmORVANEX* ui = nullptr; // every control of the main window, by its object name

    // The registry the program works on (owned by the start-up procedure; null only in tests that
    // need none). regState.registry points to the same one.
    reg::Registry* registry = nullptr;
    reg::RegState regState;

    // How the status line names the registry at start when it is not the default hive ("Wine
    // prefix /home/me/.wine"); empty for the default.
    QString RegistryName;

    QString AppFolder; // the current directory when the window loaded; see app/app_folder.h
    QString HelpFile;

    // What the detail area shows, which panel is open and which list the user selects from.
    editing::WindowState state;
    QString CurrentTypeKey;

    // The header-click sort toggles of flex1 and of flex2.
    model::SortToggles SortToggleExt;
    model::SortToggles SortToggleType;
    QString LocateLetter;
    int LocateRow = 0;

    bool Counting = false; // the file count runs; the exit button clears it to stop the walk
    bool Busy = false;     // a panel operation or the file count runs

    // True until the first insertion into the application list and into the icon-file list.
    bool FirstApplicationPending = true;
    bool FirstIconFilePending = true;
    // In-use marks of the ten update slots.
    std::array<bool, 10> UpdateSlotUsed{};

    // The file-type tables and the remembered texts of the entry shown (editing/).
    std::shared_ptr<EditingSession> editing;
};

} // namespace orvanex
