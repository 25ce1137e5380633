#pragma once
// The handler objects of the main window, made once with it and each given the collaborators
// it works with; the window keeps this one owner of them all, so none has to look another up.

#include <memory>

namespace orvanex {
struct MainContext;
}
namespace orvanex::backup {
class BackupHandlers;
class BackupWindowHandlers;
} // namespace orvanex::backup
namespace orvanex::reports {
class ReportHandlers;
class ListExportHandlers;
} // namespace orvanex::reports

namespace orvanex::editing {

class SelectionHandlers;
class ActionGridHandlers;
class HelpHandlers;
class IconPanelHandlers;
class ChangeHandlers;
class ActionPanelHandlers;
class DeleteHandlers;
class CountHandlers;
class FilterBox;

struct MainHandlers {
    // Connects every control of ctx.ui; ctx must outlive the handlers.
    explicit MainHandlers(MainContext& ctx);
    ~MainHandlers();
    MainHandlers(const MainHandlers&) = delete;
    MainHandlers& operator=(const MainHandlers&) = delete;

    // In the order they are made (and their controls connected); destroyed the other way round.
    std::unique_ptr<backup::BackupHandlers> backup; // backups and update slots
    std::unique_ptr<SelectionHandlers> selection;
    std::unique_ptr<ActionGridHandlers> actions;
    std::unique_ptr<HelpHandlers> help;
    std::unique_ptr<IconPanelHandlers> iconPanel;
    std::unique_ptr<ChangeHandlers> change;
    std::unique_ptr<ActionPanelHandlers> actionPanel;
    std::unique_ptr<DeleteHandlers> deletes;
    std::unique_ptr<reports::ReportHandlers> reports;
    std::unique_ptr<backup::BackupWindowHandlers> backupWindow;
    std::unique_ptr<CountHandlers> count;
    std::unique_ptr<FilterBox> filter;
    std::unique_ptr<reports::ListExportHandlers> listExport;
};

} // namespace orvanex::editing
