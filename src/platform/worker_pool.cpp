#include "platform/worker_pool.h"

#include "platform/threads.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <fcntl.h>
#include <sched.h>
#include <string>
#include <string_view>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr size_t workerStackSize = 8 * 1024 * 1024;
constexpr size_t monitorStackSize = 256 * 1024;
constexpr auto retireAfter = std::chrono::seconds(5);
// A worker that runs out of tasks looks for new ones this long before it sleeps: a task
// submitted meanwhile needs no wake-up, so a stream of short tasks costs no thread switches.
constexpr auto spinFor = std::chrono::microseconds(50);
// While tasks wait, the monitor looks at the busy workers this often; a worker whose thread
// was off the CPU, and not merely waiting for it, at this many looks in a row counts as blocked.
constexpr auto monitorInterval = std::chrono::milliseconds(2);
constexpr int blockedLooks = 2;
const char* const workerName = "vxtools worker";

struct Worker {
    pid_t tid = 0;
    uint64_t task = 0;  // serial number of the task it runs, 0 while idle
    int waits = 0;      // BlockingWait nesting
    int sleepingLooks = 0;
    bool counted = false;  // counts against the width
};

struct Task {
    std::function<void()> run;
    DispatchGroup* group = nullptr;  // left when the task is done
};

struct WorkerPool {
    std::mutex lock;
    std::condition_variable wake;  // idle workers wait here
    std::condition_variable monitorWake;
    std::deque<Task> tasks;
    std::atomic<size_t> queued{0};  // tasks.size(), for spinning workers to look at unlocked
    std::vector<Worker*> busy;
    size_t width = 1;
    size_t running = 0;   // busy workers that count against the width
    size_t idle = 0;      // workers waiting on `wake`
    size_t notified = 0;  // idle workers woken for a task and not yet awake
    size_t starting = 0;  // workers started for a task and not yet looking for one
    size_t spinning = 0;  // workers looking for tasks before they sleep
    size_t claimed = 0;   // tasks left to spinning workers
    size_t workers = 0;
    uint64_t serial = 0;
    bool monitorStarted = false;
    bool monitorIdle = false;
};

// What to start after the pool's lock is released.
struct Starts {
    size_t workers = 0;
    bool monitor = false;
};

// Never destroyed: workers wait on it for the life of the process.
WorkerPool& pool()
{
    static auto* instance = [] {
        auto* created = new WorkerPool;
        created->width = processcpucount();
        return created;
    }();
    return *instance;
}

thread_local Worker* currentWorker = nullptr;

bool tasksWaiting(const WorkerPool& p)
{
    return p.tasks.size() > p.notified + p.starting + p.claimed;
}

// A worker counts against the width while it runs a task that neither said it waits nor
// was seen off the CPU.
void recount(WorkerPool& p, Worker& w)
{
    const bool counts = w.task != 0 && w.waits == 0 && w.sleepingLooks < blockedLooks;
    if (counts == w.counted) return;
    w.counted = counts;
    if (counts)
        ++p.running;
    else
        --p.running;
}

// Hands waiting tasks to idle or new workers while the width has room, and wakes the
// monitor when tasks are left waiting.
Starts grant(WorkerPool& p)
{
    Starts starts;
    while (tasksWaiting(p) && p.running + p.notified + p.starting + p.claimed < p.width) {
        if (p.spinning > p.claimed) {
            ++p.claimed;  // a spinning worker takes it without being woken
        } else if (p.idle > p.notified) {
            ++p.notified;
            p.wake.notify_one();
        } else {
            ++p.starting;
            ++p.workers;
            ++starts.workers;
        }
    }
    if (tasksWaiting(p)) {
        if (!p.monitorStarted) starts.monitor = p.monitorStarted = true;
        if (p.monitorIdle) p.monitorWake.notify_one();
    }
    return starts;
}

void workerMain();
void monitorMain();

void start(WorkerPool& p, Starts starts)
{
    for (size_t i = 0; i < starts.workers; ++i) {
        if (startthread(workerMain, workerStackSize)) continue;
        std::lock_guard<std::mutex> guard(p.lock);
        --p.starting;  // the task waits for the next worker that becomes free
        --p.workers;
    }
    if (starts.monitor && !startthread(monitorMain, monitorStackSize)) {
        std::lock_guard<std::mutex> guard(p.lock);
        p.monitorStarted = false;
    }
}

void runTask(WorkerPool& p, Worker& self, std::unique_lock<std::mutex>& guard)
{
    Task task = std::move(p.tasks.front());
    p.tasks.pop_front();
    p.queued.store(p.tasks.size(), std::memory_order_relaxed);
    self.task = ++p.serial;
    self.sleepingLooks = 0;
    recount(p, self);
    p.busy.push_back(&self);
    const Starts starts = grant(p);  // room for more than this one task
    guard.unlock();
    start(p, starts);
    task.run();
    task.run = nullptr;
    if (task.group != nullptr) task.group->leave();
    resetthreadname(workerName);
    guard.lock();
    p.busy.erase(std::find(p.busy.begin(), p.busy.end(), &self));
    self.task = 0;
    recount(p, self);
}

// Looks for a task for a short while, unlocked; whether one came.
bool spinForTask(WorkerPool& p, std::unique_lock<std::mutex>& guard)
{
    ++p.spinning;
    guard.unlock();
    const auto end = std::chrono::steady_clock::now() + spinFor;
    bool found = false;
    while (!found && std::chrono::steady_clock::now() < end) {
        sched_yield();  // leaves the CPU to a thread that submits, where they share one
        found = p.queued.load(std::memory_order_relaxed) > 0;
    }
    guard.lock();
    --p.spinning;
    if (p.claimed > p.spinning) {
        // A task left to this worker: it takes it, or another worker is found for it.
        p.claimed = p.spinning;
        if (p.tasks.empty() || p.running >= p.width) {
            const Starts starts = grant(p);
            guard.unlock();
            start(p, starts);
            guard.lock();
        }
    }
    return !p.tasks.empty() && p.running < p.width;
}

void workerMain()
{
    setsystemthreadname(workerName);
    WorkerPool& p = pool();
    Worker self;
    self.tid = static_cast<pid_t>(syscall(SYS_gettid));
    currentWorker = &self;
    std::unique_lock<std::mutex> guard(p.lock);
    --p.starting;
    for (;;) {
        if (!p.tasks.empty() && p.running < p.width) {
            runTask(p, self, guard);
            continue;
        }
        if (spinForTask(p, guard)) continue;
        ++p.idle;
        const bool timedOut = p.wake.wait_for(guard, retireAfter) == std::cv_status::timeout;
        --p.idle;
        if (p.notified > 0) --p.notified;
        if (timedOut && p.tasks.empty()) break;
    }
    --p.workers;
    currentWorker = nullptr;
}

// Whether the thread is on a CPU or waiting for one, from its state in /proc. A thread
// whose state cannot be read counts as running.
bool threadrunning(pid_t tid)
{
    const std::string path = "/proc/self/task/" + std::to_string(tid) + "/stat";
    const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) return true;
    char text[512];
    const ssize_t length = read(file, text, sizeof text - 1);
    close(file);
    if (length <= 0) return true;
    // "tid (name) S ...": the name may hold blanks and parentheses, the state follows the last ")".
    const std::string_view stat(text, static_cast<size_t>(length));
    const size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string_view::npos || nameEnd + 2 >= stat.size()) return true;
    return stat[nameEnd + 2] == 'R';
}

// One look at every busy worker that has not said it waits; the files are read unlocked.
void lookAtWorkers(WorkerPool& p, std::unique_lock<std::mutex>& guard)
{
    struct Look {
        Worker* worker;
        pid_t tid;
        uint64_t task;
        bool running;
    };
    std::vector<Look> looks;
    for (Worker* w : p.busy)
        if (w->waits == 0) looks.push_back({w, w->tid, w->task, true});
    guard.unlock();
    for (Look& look : looks) look.running = threadrunning(look.tid);
    guard.lock();
    for (const Look& look : looks) {
        // Only a worker still busy with the same task is alive and meant.
        if (std::find(p.busy.begin(), p.busy.end(), look.worker) == p.busy.end()) continue;
        Worker& w = *look.worker;
        if (w.tid != look.tid || w.task != look.task || w.waits != 0) continue;
        w.sleepingLooks = look.running ? 0 : w.sleepingLooks + 1;
        recount(p, w);
    }
}

void monitorMain()
{
    setsystemthreadname("vxtools monitor");
    WorkerPool& p = pool();
    std::unique_lock<std::mutex> guard(p.lock);
    for (;;) {
        p.monitorIdle = true;
        p.monitorWake.wait(guard, [&p] { return tasksWaiting(p); });
        p.monitorIdle = false;
        while (tasksWaiting(p)) {
            p.monitorWake.wait_for(guard, monitorInterval);
            lookAtWorkers(p, guard);
            const Starts starts = grant(p);
            guard.unlock();
            start(p, starts);
            guard.lock();
        }
    }
}

}  // namespace

size_t processcpucount()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(getpid(), sizeof set, &set) != 0) {
        const long online = sysconf(_SC_NPROCESSORS_ONLN);
        return online > 0 ? static_cast<size_t>(online) : 1;
    }
    return std::max(1, CPU_COUNT(&set));
}

namespace {

// Queues `task`; with `newWidth` the width follows the affinity mask again.
void submit(Task task, bool newWidth)
{
    WorkerPool& p = pool();
    const size_t width = newWidth ? processcpucount() : 0;
    Starts starts;
    {
        std::lock_guard<std::mutex> guard(p.lock);
        if (newWidth) p.width = width;
        p.tasks.push_back(std::move(task));
        p.queued.store(p.tasks.size(), std::memory_order_relaxed);
        starts = grant(p);
    }
    start(p, starts);
}

}  // namespace

void poolsubmit(std::function<void()> task)
{
    submit(Task{std::move(task), nullptr}, true);
}

size_t poolwidth()
{
    std::lock_guard<std::mutex> guard(pool().lock);
    return pool().width;
}

size_t poolworkers()
{
    std::lock_guard<std::mutex> guard(pool().lock);
    return pool().workers;
}

size_t poolbusyworkers()
{
    std::lock_guard<std::mutex> guard(pool().lock);
    return pool().busy.size();
}

BlockingWait::BlockingWait() : onWorker_(currentWorker != nullptr && currentWorker->task != 0)
{
    if (!onWorker_) return;
    WorkerPool& p = pool();
    Starts starts;
    {
        std::lock_guard<std::mutex> guard(p.lock);
        ++currentWorker->waits;
        recount(p, *currentWorker);
        starts = grant(p);
    }
    start(p, starts);
}

BlockingWait::~BlockingWait()
{
    if (!onWorker_) return;
    WorkerPool& p = pool();
    std::lock_guard<std::mutex> guard(p.lock);
    --currentWorker->waits;
    currentWorker->sleepingLooks = 0;
    recount(p, *currentWorker);
}

// The first task of a batch (the group had none outstanding) reads the affinity mask for the
// pool's width; the rest of the batch keeps it.
void DispatchGroup::async(std::function<void()> task)
{
    const bool first = outstanding_.fetch_add(1) == 0;
    submit(Task{std::move(task), this}, first);
}

void DispatchGroup::enter()
{
    outstanding_.fetch_add(1);
}

// Under the lock: a waiter that saw the count reach 0 has taken the lock after this, so the
// group is not destroyed while a task still touches it.
void DispatchGroup::leave()
{
    std::lock_guard<std::mutex> guard(lock_);
    if (outstanding_.fetch_sub(1) == 1) done_.notify_all();
}

void DispatchGroup::wait()
{
    // Short tasks are often done within moments: look a while before sleeping.
    const auto end = std::chrono::steady_clock::now() + spinFor;
    while (outstanding_.load(std::memory_order_relaxed) > 0 && std::chrono::steady_clock::now() < end) sched_yield();
    std::unique_lock<std::mutex> guard(lock_);
    if (outstanding_.load() <= 0) return;
    guard.unlock();
    BlockingWait blocking;
    guard.lock();
    done_.wait(guard, [this] { return outstanding_.load() <= 0; });
}
