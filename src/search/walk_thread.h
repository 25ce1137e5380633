#pragma once
// The thread a window's walk runs on: below the window's priority, so that the window keeps
// answering on a busy machine, told to stop through a flag the walk reads between files, and
// telling the window's thread when it has ended. The file search and the file count build on it.

#include <QObject>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>

namespace orvanex::search {

class WalkThread : public QObject {
    Q_OBJECT
public:
    void stop() { m_stop.store(true); }
    bool stopping() const { return m_stop.load(); }
    bool running() const { return m_thread && m_thread->isRunning(); }

Q_SIGNALS:
    void finished(); // queued to the thread that owns the worker

protected:
    explicit WalkThread(QObject* parent) : QObject(parent) {}
    // A worker's destructor calls join() itself: the walk works on the worker's own members,
    // which are gone by the time this destructor runs.
    ~WalkThread() override;

    // Runs work on a new thread, then sends finished().
    void startThread(std::function<void()> work);
    // Waits for the thread (when there is one), so that its last writes are seen.
    void wait();
    // Stops the walk and waits for it.
    void join();
    const std::atomic_bool& stopFlag() const { return m_stop; }

private:
    std::atomic_bool m_stop{false};
    std::unique_ptr<QThread> m_thread;
};

} // namespace orvanex::search
