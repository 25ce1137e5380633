#pragma once
// A search window over a fresh folder mapped as drive C:, with message boxes answered "Yes" and
// pop-up menus kept closed, for the window tests.

#include "search/frm_search.h"
#include "search_trees.h"
#include "support/test_env.h"

#include <QFile>
#include <QMessageBox>
#include <QSignalSpy>
#include <gtest/gtest.h>
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
    // A file below the root with these bytes, its folders made.
    void write(const char* rel, const QByteArray& bytes) const {
        ASSERT_TRUE(makeFile(native(rel)));
        QFile f(QFile::decodeName(native(rel)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // A tree that takes a while to walk, for stopping a search under way: kLargeTreeFiles empty
    // .txt files in 40 folders.
    static constexpr int kLargeTreeFiles = 40 * 400;
    void makeLargeTree() const {
        for (int d = 0; d < 40; ++d)
            for (int f = 0; f < 400; ++f)
                ASSERT_TRUE(makeFile(native("/d") + QByteArray::number(d) + "/f" +
                                     QByteArray::number(f) + ".txt"));
    }
    // Searches the root through the start button and waits for the end.
    void search() {
        window->setStartFolder(root);
        QSignalSpy done(window.get(), &search::frmSearch::searchFinished);
        window->cmdSearchStart_Click();
        ASSERT_TRUE(done.wait(20000));
    }
};

} // namespace orvanex::test
