#include "platform/main_thread.h"

#include "platform/threads.h"
#include "platform/worker_pool.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

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
    QMetaObject::invokeMethod(application, [&work] { work(); }, Qt::BlockingQueuedConnection);
}

void runOnMainThreadAsync(std::function<void()> work)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) {
        work();
        return;
    }
    QMetaObject::invokeMethod(application, std::move(work), Qt::QueuedConnection);
}
