// The process-wide worker pool that runs background work.
//
// Whenever every worker is busy, a submitted task starts another worker, so a task that
// never ends (the auto-update process) cannot keep others waiting; idle workers are reused.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>

// Runs `task` on a worker of the pool and returns at once.
void poolsubmit(std::function<void()> task);

// Workers the pool has started so far, and those of them running a task now.
size_t poolworkers();
size_t poolbusyworkers();

// A counter of outstanding tasks that one can wait on.
class DispatchGroup {
public:
    // Runs `task` on the pool as a member of this group.
    void async(std::function<void()> task);
    void enter();
    void leave();
    // Waits until every task entered has left.
    void wait();

private:
    std::mutex lock_;
    std::condition_variable done_;
    int64_t outstanding_ = 0;
};
