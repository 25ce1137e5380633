#pragma once
// A walk on a thread of its own. The window collects what it found at its own pace (a timer),
// so a million files cost a few thousand repaints, not a million.

#include "search/file_walk.h"
#include "search/search_results.h"

#include <QMutex>
#include <QObject>
#include <QThread>
#include <atomic>
#include <memory>

namespace orvanex::search {

class SearchWorker : public QObject {
    Q_OBJECT
public:
    explicit SearchWorker(FileWalk walk, QObject* parent = nullptr);
    ~SearchWorker() override; // stops and joins the thread

    void start();
    void stop() { m_stop.store(true); }
    bool running() const { return m_thread && m_thread->isRunning(); }

    struct Progress {
        QList<ResultRow> rows; // found since the last take, sequence numbers set
        WalkCounts counts;
        QByteArray folder; // the folder being listed
        bool finished = false;
    };
    // What the walk found since the last call.
    Progress take();
    const QList<platform::DriveRoot>& roots() const { return m_walk.roots(); }

Q_SIGNALS:
    void finished(); // queued to the window's thread

private:
    class Sink;
    FileWalk m_walk;
    std::atomic_bool m_stop{false};
    std::unique_ptr<QThread> m_thread;
    QMutex m_mutex;
    Progress m_pending;
};

} // namespace orvanex::search
