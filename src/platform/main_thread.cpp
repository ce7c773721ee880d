#include "platform/main_thread.h"

#include "platform/threads.h"
#include "platform/worker_pool.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <memory>

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

namespace {

// Qt hands work to the GUI thread and the blocking call's answer back through its own
// locks, which ThreadSanitizer does not see (Qt is not instrumented). Each hand-over is
// marked on an address of its own: released by the side that hands over, acquired by the
// side that takes over, so that what one side wrote before is known to the other.
void handOver([[maybe_unused]] const void* token)
{
#if defined(__SANITIZE_THREAD__)
    __tsan_release(const_cast<void*>(token));
#endif
}

void takeOver([[maybe_unused]] const void* token)
{
#if defined(__SANITIZE_THREAD__)
    __tsan_acquire(const_cast<void*>(token));
#endif
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
    handOver(&work);
    QMetaObject::invokeMethod(
        application,
        [&work] {
            takeOver(&work);
            work();
            handOver(&work);
        },
        Qt::BlockingQueuedConnection);
    takeOver(&work);
}

void runOnMainThreadAsync(std::function<void()> work)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) {
        work();
        return;
    }
    auto posted = std::make_shared<std::function<void()>>(std::move(work));
    handOver(posted.get());
    QMetaObject::invokeMethod(
        application,
        [posted] {
            takeOver(posted.get());
            (*posted)();
        },
        Qt::QueuedConnection);
}
