#include "platform/main_thread.h"

#include "platform/threads.h"
#include "platform/worker_pool.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <condition_variable>
#include <deque>
#include <mutex>

namespace {

// Work handed over to the GUI thread, oldest first, under a lock of its own. Qt is told only
// to wake the GUI thread for it, with a call that carries nothing: what the work touches
// passes from thread to thread through this lock, which ThreadSanitizer sees (Qt is not
// instrumented, so a hand-over through Qt's own queue would look like a race), and Qt's
// objects for the wake-up are Qt's alone. Each wake-up runs the oldest work, so work runs in
// the order it was handed over whatever order the wake-ups come in.
std::mutex handOverLock;

std::deque<std::function<void()>>& handedOver()
{
    static auto* queue = new std::deque<std::function<void()>>;  // threads may hand over while the process ends
    return *queue;
}

void runOldest()
{
    std::function<void()> work;
    {
        std::lock_guard<std::mutex> guard(handOverLock);
        if (handedOver().empty()) return;
        work = std::move(handedOver().front());
        handedOver().pop_front();
    }
    work();
}

void handOver(QCoreApplication* application, std::function<void()> work)
{
    {
        std::lock_guard<std::mutex> guard(handOverLock);
        handedOver().push_back(std::move(work));
    }
    QMetaObject::invokeMethod(application, [] { runOldest(); }, Qt::QueuedConnection);
}

}  // namespace

bool isMainThread()
{
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) return isprocessmainthread();
    return QThread::currentThread() == application->thread();
}

void runOnMainThread(const std::function<void()>& work)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr || isMainThread()) {
        work();
        return;
    }
    BlockingWait blocking;
    std::mutex doneLock;
    std::condition_variable doneSignal;
    bool done = false;
    handOver(application, [&] {
        work();
        std::lock_guard<std::mutex> guard(doneLock);
        done = true;
        doneSignal.notify_one();
    });
    std::unique_lock<std::mutex> guard(doneLock);
    doneSignal.wait(guard, [&done] { return done; });
}

void runOnMainThreadAsync(std::function<void()> work)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) {
        work();
        return;
    }
    handOver(application, std::move(work));
}
