#include "search/walk_thread.h"

#include <sys/resource.h>
#include <unistd.h>

namespace orvanex::search {

WalkThread::~WalkThread() {
    join();
}

void WalkThread::startThread(std::function<void()> work) {
    m_thread.reset(QThread::create([this, body = std::move(work)] {
        // The window's thread goes first when the processors are busy: it must keep answering.
        ::setpriority(PRIO_PROCESS, pid_t(::gettid()), 5);
        body();
        QMetaObject::invokeMethod(this, &WalkThread::finished, Qt::QueuedConnection);
    }));
    m_thread->start();
}

void WalkThread::wait() {
    if (m_thread)
        m_thread->wait();
}

void WalkThread::join() {
    stop();
    wait();
}

} // namespace orvanex::search
