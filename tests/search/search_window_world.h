#pragma once
// A search window over a fresh folder mapped as drive C:, with message boxes answered "Yes" and
// pop-up menus kept closed, for the window tests.

#include "search/frm_search.h"
#include "search_trees.h"
#include "support/test_env.h"

#include <QFile>
#include <QMessageBox>
#include <QSemaphore>
#include <QSignalSpy>
#include <atomic>
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
    // A tree of kTreeFolders folders (d0, d1, ...) of kFilesPerFolder empty .txt files each, for
    // stopping a search held in one of them.
    static constexpr int kTreeFolders = 8;
    static constexpr int kFilesPerFolder = 50;
    void makeFolderTree() const {
        for (int d = 0; d < kTreeFolders; ++d)
            for (int f = 0; f < kFilesPerFolder; ++f)
                ASSERT_TRUE(makeFile(native("/d") + QByteArray::number(d) + "/f" +
                                     QByteArray::number(f) + ".txt"));
    }
    // Holds the search's walk as it enters its nth folder (1 is the start folder) until letGo(),
    // so that what the test does meanwhile never races the walk. The state is shared with the
    // hook, which may outlive the test; the destructor lets go, so that a failed test never
    // leaves the walk's thread waiting.
    struct WalkHold {
        QSemaphore entered;
        QSemaphore go;
        std::atomic_int folders{0};
        // Waits until the walk is held (a condition; the limit only ends a broken run).
        bool waitHeld() { return entered.tryAcquire(1, 60000); }
        void letGo() { go.release(1); }
    };
    struct Held {
        std::shared_ptr<WalkHold> hold = std::make_shared<WalkHold>();
        ~Held() { hold->letGo(); }
        WalkHold* operator->() const { return hold.get(); }
    };
    void holdWalkAtFolder(const Held& held, int nth) const {
        window->walkFolderHook = [hold = held.hold, nth](const QByteArray&) {
            if (++hold->folders != nth)
                return;
            hold->entered.release();
            hold->go.acquire();
        };
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
