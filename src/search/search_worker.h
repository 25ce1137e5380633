#pragma once
// A walk on a thread of its own. The window collects what it found at its own pace (a timer),
// so a million files cost a few thousand repaints, not a million.

#include "search/file_walk.h"
#include "search/search_results.h"
#include "search/walk_thread.h"

#include <QMutex>
#include <functional>
#include <optional>

namespace orvanex::search {

class SearchWorker : public WalkThread {
    Q_OBJECT
public:
    explicit SearchWorker(FileWalk walk, QObject* parent = nullptr);
    ~SearchWorker() override { join(); }

    void start();
    // Runs on the walk's thread as each folder is entered (a test holds the walk there); set
    // before start.
    void setFolderHook(std::function<void(const QByteArray&)> hook) {
        m_folderHook = std::move(hook);
    }

    struct Progress {
        QList<ResultRow> rows; // found since the last take, sequence numbers set
        WalkCounts counts;
        QByteArray folder; // the folder being listed
        bool finished = false;
    };
    // What the walk found since the last call.
    Progress take();
    // The same, or nothing when the walk holds the lock right now: a walk thread pushed aside by
    // a busy machine must not hold up the window until it runs again.
    std::optional<Progress> tryTake();
    const QList<platform::DriveRoot>& roots() const { return m_roots; }

private:
    class Sink;
    Progress takeLocked();
    // Let go on the walk's own thread: its record of every folder seen is large, and freeing it
    // must not hold up the window at the end of a search.
    std::optional<FileWalk> m_walk;
    QList<platform::DriveRoot> m_roots;
    QMutex m_mutex;
    Progress m_pending;
    std::function<void(const QByteArray&)> m_folderHook;
};

} // namespace orvanex::search
