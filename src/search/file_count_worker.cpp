#include "search/file_count_worker.h"

#include <QMutexLocker>

namespace orvanex::search {

// Counts through FileCounts itself (the code orvx count runs) and publishes the folder being
// listed; the lock is taken once per folder, never per file.
class FileCountWorker::Sink : public WalkSink {
public:
    explicit Sink(FileCountWorker& worker) : m_worker(worker) {}
    void folder(const QByteArray& path) override {
        {
            QMutexLocker lock(&m_worker.m_mutex);
            m_worker.m_progress.folder = path;
            m_worker.m_progress.files = m_worker.m_counts.total().files;
        }
        if (m_worker.m_folderHook)
            m_worker.m_folderHook(path);
    }
    void file(int rootIndex, const QByteArray& path, qint64 size) override {
        m_worker.m_counts.file(rootIndex, path, size);
    }

private:
    FileCountWorker& m_worker;
};

FileCountWorker::FileCountWorker(FileWalk walk, QObject* parent)
    : WalkThread(parent), m_walk(std::move(walk)) {}

void FileCountWorker::start() {
    startThread([this] {
        Sink sink(*this);
        m_walk.run(sink, stopFlag());
        QMutexLocker lock(&m_mutex);
        m_progress.files = m_counts.total().files;
        m_progress.finished = true;
    });
}

FileCountWorker::Progress FileCountWorker::progress() const {
    QMutexLocker lock(&m_mutex);
    return m_progress;
}

const FileCounts& FileCountWorker::counts() {
    wait();
    return m_counts;
}

} // namespace orvanex::search
