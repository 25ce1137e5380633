#pragma once
// The embedded-text search over the grid's rows, on a thread of its own so that the window keeps
// answering during long files and hears Stop at once. The window collects the marks at its own
// pace.

#include "search/text_scan.h"

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QThread>
#include <atomic>
#include <memory>
#include <optional>

namespace orvanex::search {

class TextScanWorker : public QObject {
    Q_OBJECT
public:
    // One native path per grid row, in grid order (empty for a row without a file). Without a
    // text (one no file can hold) the rows are passed over and nothing is marked.
    TextScanWorker(QList<QByteArray> paths, std::optional<FoldedText> text,
                   QObject* parent = nullptr);
    ~TextScanWorker() override; // stops and joins the thread

    void start();
    void stop() { m_run.store(false); }

    struct Progress {
        QList<int> found; // rows marked since the last take
        int current = -1; // the row being read
        bool finished = false;
    };
    // What the scan found since the last call, or nothing when the scan holds the lock right now.
    std::optional<Progress> tryTake();

Q_SIGNALS:
    void finished(); // queued to the window's thread

private:
    void scan();

    QList<QByteArray> m_paths;
    std::optional<FoldedText> m_text;
    std::atomic_bool m_run{true};
    std::atomic_int m_current{-1};
    std::unique_ptr<QThread> m_thread;
    QMutex m_mutex;
    QList<int> m_found;
    bool m_finished = false;
};

} // namespace orvanex::search
