#pragma once
// The file count's walk on a thread of its own, so that the main window keeps answering; the
// window reads the progress at its own pace and takes the counts when the walk has ended.

#include "search/file_counts.h"
#include "search/file_walk.h"
#include "search/walk_thread.h"

#include <QByteArray>
#include <QMutex>
#include <functional>

namespace orvanex::search {

class FileCountWorker : public WalkThread {
    Q_OBJECT
public:
    explicit FileCountWorker(FileWalk walk, QObject* parent = nullptr);
    ~FileCountWorker() override { join(); }

    void start();
    // Runs on the walk's thread as each folder is entered (a test holds the walk there); set
    // before start.
    void setFolderHook(std::function<void(const QByteArray&)> hook) {
        m_folderHook = std::move(hook);
    }

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

private:
    class Sink;
    FileWalk m_walk;
    FileCounts m_counts;
    mutable QMutex m_mutex;
    Progress m_progress;
    std::function<void(const QByteArray&)> m_folderHook;
};

} // namespace orvanex::search
