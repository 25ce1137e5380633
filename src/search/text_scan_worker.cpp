#include "search/text_scan_worker.h"

#include <QMutexLocker>

namespace orvanex::search {

TextScanWorker::TextScanWorker(QList<QByteArray> paths, std::optional<FoldedText> text,
                               QObject* parent)
    : QObject(parent), m_paths(std::move(paths)), m_text(std::move(text)) {}

TextScanWorker::~TextScanWorker() {
    m_run.store(false);
    if (m_thread)
        m_thread->wait();
}

void TextScanWorker::start() {
    m_thread.reset(QThread::create([this] { scan(); }));
    m_thread->start();
}

void TextScanWorker::scan() {
    for (int row = 0; row < m_paths.size() && m_text; ++row) {
        if (!m_run.load())
            break;
        m_current.store(row);
        // An emptied row, or a file gone or unreadable, holds nothing.
        if (m_paths[row].isEmpty() || !DoesFileContainString(m_paths[row], *m_text, m_run))
            continue;
        QMutexLocker lock(&m_mutex);
        m_found.append(row);
    }
    {
        QMutexLocker lock(&m_mutex);
        m_finished = true;
    }
    QMetaObject::invokeMethod(this, &TextScanWorker::finished, Qt::QueuedConnection);
}

std::optional<TextScanWorker::Progress> TextScanWorker::tryTake() {
    Progress out;
    out.current = m_current.load();
    if (!m_mutex.tryLock())
        return std::nullopt;
    out.found = std::move(m_found);
    m_found.clear();
    out.finished = m_finished;
    m_mutex.unlock();
    return out;
}

} // namespace orvanex::search
