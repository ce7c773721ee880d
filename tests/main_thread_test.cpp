// Work handed to the GUI thread from other threads.
#include "platform/main_thread.h"
#include "platform/worker_pool.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

// Serves the GUI thread's event loop until `done` or ten seconds have passed.
bool serveEventsUntil(const std::atomic<bool>& done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done && timer.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done;
}

}  // namespace

TEST(MainThread, WorkerGetsTheResultOfAGuiThreadCall)
{
    EXPECT_TRUE(isMainThread());
    std::atomic<bool> done{false};
    std::atomic<int> result{0};
    std::atomic<bool> workerOnMain{true};
    poolsubmit([&] {
        workerOnMain = isMainThread();
        result = mainThreadValue<int>([] { return isMainThread() ? 42 : -1; });
        done = true;
    });
    ASSERT_TRUE(serveEventsUntil(done));
    EXPECT_FALSE(workerOnMain);
    EXPECT_EQ(result, 42);
}

TEST(MainThread, CallFromTheGuiThreadRunsDirectly)
{
    int ran = 0;
    runOnMainThread([&ran] { ran = isMainThread() ? 1 : -1; });
    EXPECT_EQ(ran, 1);
}

TEST(MainThread, AsynchronousWorkRunsLaterOnTheGuiThread)
{
    std::atomic<bool> done{false};
    std::atomic<bool> onMain{false};
    std::atomic<bool> returned{false};
    std::thread caller([&] {
        runOnMainThreadAsync([&] {
            onMain = isMainThread();
            done = true;
        });
        returned = true;
    });
    caller.join();  // it returned without the GUI thread serving anything
    EXPECT_TRUE(returned);
    EXPECT_FALSE(done);
    ASSERT_TRUE(serveEventsUntil(done));
    EXPECT_TRUE(onMain);
}
