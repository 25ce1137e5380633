#include "editing/search_launch.h"

#include "editing/editing_session.h"
#include "editing/main_context.h"
#include "search/frm_search.h"
#include "ui_main_window.h"

#include <QAbstractItemView>
#include <QMainWindow>

namespace orvanex::search {

namespace {

QString cell(QAbstractItemView* grid, int column) {
    const int row = grid->currentIndex().row();
    if (row < 0)
        return QString();
    return grid->model()->index(row, column).data().toString();
}

} // namespace

void cmdFindExts_Click(MainContext& ctx) {
    QString ExtensionList;
    QString FileTypeName;
    if (ctx.state.byFileType()) {
        ExtensionList = cell(ctx.ui->flex2, 3);
        FileTypeName = cell(ctx.ui->flex2, 0);
    } else {
        ExtensionList = cell(ctx.ui->flex1, 0);
        FileTypeName = cell(ctx.ui->flex1, 3);
    }
    platform::DriveMap drives = ctx.editing ? ctx.editing->drives : platform::DriveMap();
    frmSearch window(ExtensionList, FileTypeName, std::move(drives), ctx.AppFolder, ctx.window);
    window.describeExtension = registryDescriber(ctx.registry);
    ctx.window->setEnabled(false);
    window.setEnabled(true);
    window.exec();
    ctx.window->setEnabled(true);
}

} // namespace orvanex::search
