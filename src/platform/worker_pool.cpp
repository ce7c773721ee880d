#include "platform/worker_pool.h"

#include "platform/threads.h"

#include <deque>

namespace {

constexpr size_t workerStackSize = 8 * 1024 * 1024;

struct WorkerPool {
    std::mutex lock;
    std::condition_variable available;
    std::deque<std::function<void()>> tasks;
    size_t workers = 0;
    size_t idle = 0;
};

// Never destroyed: workers wait on it for the life of the process.
WorkerPool& pool()
{
    static auto* instance = new WorkerPool;
    return *instance;
}

void workerLoop()
{
    WorkerPool& p = pool();
    std::unique_lock<std::mutex> guard(p.lock);
    for (;;) {
        ++p.idle;
        p.available.wait(guard, [&p] { return !p.tasks.empty(); });
        --p.idle;
        std::function<void()> task = std::move(p.tasks.front());
        p.tasks.pop_front();
        guard.unlock();
        task();
        task = nullptr;
        guard.lock();
    }
}

}  // namespace

void poolsubmit(std::function<void()> task)
{
    WorkerPool& p = pool();
    bool startWorker = false;
    {
        std::lock_guard<std::mutex> guard(p.lock);
        p.tasks.push_back(std::move(task));
        // Each idle worker takes one queued task; a task beyond them needs a new worker.
        if (p.tasks.size() > p.idle) {
            startWorker = true;
            ++p.workers;
        }
    }
    if (startWorker && !startthread(workerLoop, workerStackSize)) {
        std::lock_guard<std::mutex> guard(p.lock);
        --p.workers;  // the task waits for the next worker that becomes idle
    }
    p.available.notify_one();
}

size_t poolworkers()
{
    std::lock_guard<std::mutex> guard(pool().lock);
    return pool().workers;
}

size_t poolbusyworkers()
{
    std::lock_guard<std::mutex> guard(pool().lock);
    return pool().workers - pool().idle;
}

void DispatchGroup::async(std::function<void()> task)
{
    enter();
    poolsubmit([this, task = std::move(task)] {
        task();
        leave();
    });
}

void DispatchGroup::enter()
{
    std::lock_guard<std::mutex> guard(lock_);
    ++outstanding_;
}

void DispatchGroup::leave()
{
    std::lock_guard<std::mutex> guard(lock_);
    if (--outstanding_ == 0) done_.notify_all();
}

void DispatchGroup::wait()
{
    std::unique_lock<std::mutex> guard(lock_);
    done_.wait(guard, [this] { return outstanding_ <= 0; });
}
