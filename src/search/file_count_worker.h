#pragma once
// The file count's walk on a thread of its own, so that the main window keeps answering; the
// window reads the progress at its own pace and takes the counts when the walk has ended.

#include "search/file_counts.h"
#include "search/file_walk.h"

#include <QByteArray>
#include <QMutex>
#include <QObject>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>

namespace orvanex::search {

class FileCountWorker : public QObject {
    Q_OBJECT
public:
    explicit FileCountWorker(FileWalk walk, QObject* parent = nullptr);
    ~FileCountWorker() override; // stops and joins the thread

    void start();
    void stop() { m_stop.store(true); }
    bool stopping() const { return m_stop.load(); }
    // Runs on the walk's thread as each folder is entered (a test holds the walk there); set
    // before start.
    void setFolderHook(std::function<void(const QByteArray&)> hook) {
        m_folderHook = std::move(hook);
    }
    bool running() const { return m_thread && m_thread->isRunning(); }

    struct Progress {
        QByteArray folder; // native path of the folder being counted
        qint64 files = 0;  // counted so far
        bool finished = false;
    };
    Progress progress() const;
    const QList<platform::DriveRoot>& roots() const { return m_walk.roots(); }

    // Once finished() was sent: what the walk counted (all of it, or up to Stop). Joins the walk's
    // thread first, so that its last writes are seen.
    const FileCounts& counts();

Q_SIGNALS:
    void finished(); // queued to the thread that owns the worker

private:
    class Sink;
    FileWalk m_walk;
    FileCounts m_counts;
    std::atomic_bool m_stop{false};
    std::unique_ptr<QThread> m_thread;
    mutable QMutex m_mutex;
    Progress m_progress;
    std::function<void(const QByteArray&)> m_folderHook;
};

} // namespace orvanex::search
