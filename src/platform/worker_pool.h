// The process-wide worker pool that runs background work.
//
// At most `poolwidth()` workers run tasks at once, one for each CPU the process may use;
// further tasks wait in order. A worker that blocks does not count: the runtime's own waits
// say so with a BlockingWait, and while tasks wait a monitor looks for workers whose threads
// sleep without having said so (a program's own lock, `read`, `sleep`). Either way another
// worker takes the next task, so a task that never ends and tasks that wait for each other
// do not starve the rest. Idle workers are reused and retire after a while.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>

// Runs `task` on a worker of the pool and returns at once.
void poolsubmit(std::function<void()> task);

// The number of CPUs in the process's affinity mask, at least 1.
size_t processcpucount();
// How many workers may run tasks at once: processcpucount() when the last task was submitted.
size_t poolwidth();
// Workers alive now, and those of them running a task (blocked or not).
size_t poolworkers();
size_t poolbusyworkers();

// Tells the pool, for its lifetime, that the calling thread waits; nothing on other threads.
class BlockingWait {
public:
    BlockingWait();
    ~BlockingWait();
    BlockingWait(const BlockingWait&) = delete;
    BlockingWait& operator=(const BlockingWait&) = delete;

private:
    bool onWorker_;
};

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
    std::atomic<int64_t> outstanding_{0};  // lowered only under lock_
};
