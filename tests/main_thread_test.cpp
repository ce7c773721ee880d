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

TEST(MainThread, CallsAndAsynchronousWorkFromOtherThreads)
{
    EXPECT_TRUE(isMainThread());
    int ran = 0;
    runOnMainThread([&ran] { ran = isMainThread() ? 1 : -1; });  // from the GUI thread: directly
    EXPECT_EQ(ran, 1);
    std::atomic<bool> done{false}, workerOnMain{true};
    std::atomic<int> result{0};
    poolsubmit([&] {
        workerOnMain = isMainThread();
        result = mainThreadValue<int>([] { return isMainThread() ? 42 : -1; });
        done = true;
    });
    ASSERT_TRUE(serveEventsUntil(done));
    EXPECT_EQ(std::tuple(bool(workerOnMain), int(result)), std::tuple(false, 42));

    // Asynchronous work runs later on the GUI thread.
    std::atomic<bool> onMain{false};
    done = false;
    std::thread caller([&] {
        runOnMainThreadAsync([&] {
            onMain = isMainThread();
            done = true;
        });
    });
    caller.join();  // it returned without the GUI thread serving anything
    EXPECT_FALSE(done);
    ASSERT_TRUE(serveEventsUntil(done));
    EXPECT_TRUE(onMain);
}
