#pragma once
// A search window over a fresh folder mapped as drive C:, with message boxes answered "Yes" and
// pop-up menus kept closed, for the window tests.

#include "search/frm_search.h"
#include "support/test_env.h"

#include <QFile>
#include <QMessageBox>
#include <memory>

namespace orvanex::test {

struct SearchWindowWorld {
    QString root;
    QString app; // the App folder, where the window looks for the viewer
    platform::DriveMap drives;
    std::unique_ptr<search::frmSearch> window;

    SearchWindowWorld(const char* name, const QString& extensions) {
        root = freshDir(QString::fromLatin1(name));
        drives.setDrive(u'C', root);
        app = freshDir(QString::fromLatin1(name) + "_app");
        window = std::make_unique<search::frmSearch>(extensions, "Text Document", drives, app);
        window->popUpMenus = false;
        window->scriptedAnswer = QMessageBox::Yes;
        window->show();
    }
    // The native path of a name below the root.
    QByteArray native(const char* rel) const { return QFile::encodeName(root) + rel; }
};

} // namespace orvanex::test
