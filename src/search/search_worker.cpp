#include "search/search_worker.h"

#include <QMutexLocker>

namespace orvanex::search {

// Rows are gathered locally and handed over in blocks, so the lock is taken rarely.
class SearchWorker::Sink : public WalkSink {
public:
    explicit Sink(SearchWorker& worker) : m_worker(worker) {}
    ~Sink() override { handOver(); }
    void folder(const QByteArray& path) override {
        m_folder = path;
        if (++m_foldersSinceHandOver >= 64)
            handOver();
        if (m_worker.m_folderHook)
            m_worker.m_folderHook(path);
    }
    void file(int rootIndex, const QByteArray& path, qint64 size) override {
        ResultRow row;
        row.native = path;
        row.root = rootIndex;
        row.size = size;
        row.sequence = m_worker.m_walk->counts().files;
        m_rows.append(std::move(row));
        if (m_rows.size() >= 512)
            handOver();
    }
    void handOver() {
        QMutexLocker lock(&m_worker.m_mutex);
        m_worker.m_pending.rows.append(std::move(m_rows));
        m_worker.m_pending.counts = m_worker.m_walk->counts();
        m_worker.m_pending.folder = m_folder;
        m_rows.clear();
        m_foldersSinceHandOver = 0;
    }

private:
    SearchWorker& m_worker;
    QList<ResultRow> m_rows;
    QByteArray m_folder;
    int m_foldersSinceHandOver = 0;
};

SearchWorker::SearchWorker(FileWalk walk, QObject* parent)
    : WalkThread(parent), m_walk(std::move(walk)), m_roots(m_walk->roots()) {}

void SearchWorker::start() {
    startThread([this] {
        {
            Sink sink(*this);
            m_walk->run(sink, stopFlag());
        }
        const WalkCounts counts = m_walk->counts();
        m_walk.reset();
        QMutexLocker lock(&m_mutex);
        m_pending.counts = counts;
        m_pending.finished = true;
    });
}

SearchWorker::Progress SearchWorker::take() {
    QMutexLocker lock(&m_mutex);
    return takeLocked();
}

std::optional<SearchWorker::Progress> SearchWorker::tryTake() {
    if (!m_mutex.tryLock())
        return std::nullopt;
    Progress out = takeLocked();
    m_mutex.unlock();
    return out;
}

SearchWorker::Progress SearchWorker::takeLocked() {
    Progress out = std::move(m_pending);
    m_pending = Progress();
    m_pending.counts = out.counts;
    m_pending.folder = out.folder;
    m_pending.finished = out.finished;
    return out;
}

} // namespace orvanex::search
