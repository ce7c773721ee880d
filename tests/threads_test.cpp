// Thread numbers and names, the program thread hand-over and the worker pool.
#include "app/program_thread.h"
#include "platform/threads.h"
#include "platform/worker_pool.h"
#include "vxtools.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <fstream>
#include <future>
#include <mutex>
#include <optional>
#include <pthread.h>
#include <sched.h>
#include <set>
#include <sstream>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

// Runs `count` items on the pool that each keep a CPU busy for `spin`; gives the most that
// ran at once.
int mostAtOnce(size_t count, std::chrono::milliseconds spin)
{
    std::atomic<int> now{0}, most{0};
    DispatchGroup group;
    for (size_t i = 0; i < count; ++i)
        group.async([&] {
            const int running = ++now;
            int seen = most.load();
            while (running > seen && !most.compare_exchange_weak(seen, running)) {
            }
            const auto end = std::chrono::steady_clock::now() + spin;
            while (std::chrono::steady_clock::now() < end) {
            }
            --now;
        });
    group.wait();
    return most.load();
}

}  // namespace

TEST(ThreadNumber, MainThreadIsOneOthersAreNew)
{
    EXPECT_EQ(threadnumber(), 1);
    std::set<int64_t> numbers;
    std::mutex lock;
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i)
        threads.emplace_back([&] {
            int64_t first = threadnumber();
            EXPECT_EQ(threadnumber(), first);  // stable once given
            std::lock_guard<std::mutex> guard(lock);
            numbers.insert(first);
        });
    for (std::thread& thread : threads) thread.join();
    EXPECT_TRUE(numbers.size() == 8 && *numbers.begin() >= 2);
}

// Each start runs on its own thread with the stack asked, under the process's name rather
// than that of the GUI thread that creates it; quick successive starts each run their own entry.
TEST(StartProcess, OwnThreadStackNameAndEntry)
{
    setsystemthreadname("AppDelegate");
    std::promise<std::tuple<size_t, bool, std::string>> seen;
    startprocess(
        [&seen] {
            pthread_attr_t attributes;
            size_t stack = 0;
            if (pthread_getattr_np(pthread_self(), &attributes) == 0) {
                pthread_attr_getstacksize(&attributes, &stack);
                pthread_attr_destroy(&attributes);
            }
            char name[32] = {};
            pthread_getname_np(pthread_self(), name, sizeof name);
            seen.set_value({stack, isprocessmainthread(), name});
        },
        1073741824);
    auto [stack, onMain, name] = seen.get_future().get();
    EXPECT_EQ(std::tuple(stack >= 1073741824u, onMain, name), std::tuple(true, false, "vx_core_tests")) << stack;
    setsystemthreadname("vx_core_tests");
    // Quick successive starts from many threads each run their own entry once.
    constexpr int starts = 24;
    std::vector<std::atomic<int>> runs(starts);
    std::atomic<int> finished{0};
    std::vector<std::thread> requesters;
    for (int i = 0; i < starts; ++i)
        requesters.emplace_back([&, i] { startprocess([&, i] { ++runs[size_t(i)], ++finished; }, 512 * 1024); });
    for (std::thread& requester : requesters) requester.join();
    for (int i = 0; i < 3000 && finished < starts; ++i) std::this_thread::sleep_for(10ms);
    EXPECT_EQ(finished.load(), starts);
    EXPECT_TRUE(std::all_of(runs.begin(), runs.end(), [](const std::atomic<int>& n) { return n == 1; }));
}

// t_QuitProgram in a program's handler, on a worker, ends that handler only: more such calls
// than there are workers leave the pool running work.
TEST(StartProcess, QuitProgramOnAWorkerEndsOnlyTheCallOut)
{
    struct Counted {
        std::atomic<size_t>& ended;
        ~Counted() { ++ended; }
    };
    const size_t calls = poolwidth() + 1;
    std::atomic<size_t> ended{0}, after{0};
    testing::internal::CaptureStdout();
    for (size_t i = 0; i < calls; ++i)
        runAsync([&] {
            Counted counted{ended};
            t_QuitProgram(13);
            ++after;
        });
    for (int i = 0; i < 500 && ended < calls; ++i) std::this_thread::sleep_for(10ms);
    std::promise<void> ran;
    runAsync([&ran] { ran.set_value(); });
    const bool workRuns = ran.get_future().wait_for(10s) == std::future_status::ready;
    std::istringstream output(testing::internal::GetCapturedStdout());
    size_t refusals = 0;
    for (std::string line; std::getline(output, line);)
        refusals += line == "t_QuitProgram: Called outside the program thread; only this call-out ends.";
    for (int i = 0; i < 500 && poolbusyworkers() > 0; ++i) std::this_thread::sleep_for(10ms);
    EXPECT_EQ(std::tuple(workRuns, ended.load(), after.load(), refusals, poolbusyworkers()),
              std::tuple(true, calls, size_t(0), calls, size_t(0)));
}

TEST(WorkerPool, BusyItemsRunAtMostOnePerCpuOfTheAffinityMask)
{
    cpu_set_t all;
    ASSERT_EQ(sched_getaffinity(0, sizeof all, &all), 0);
    cpu_set_t one;
    CPU_ZERO(&one);
    for (int cpu = 0; CPU_COUNT(&one) == 0; ++cpu)
        if (CPU_ISSET(cpu, &all)) CPU_SET(cpu, &one);
    for (const cpu_set_t* mask : {&all, &one}) {
        ASSERT_EQ(sched_setaffinity(0, sizeof *mask, mask), 0);
        const size_t cpus = static_cast<size_t>(CPU_COUNT(mask));
        EXPECT_EQ(processcpucount(), cpus);
        EXPECT_LE(mostAtOnce(3 * cpus + 1, 20ms), static_cast<int>(cpus));
        EXPECT_EQ(poolwidth(), cpus);
    }
    ASSERT_EQ(sched_setaffinity(0, sizeof all, &all), 0);
}

// runAsync runs its item on a worker, off the calling thread.
TEST(WorkerPool, WorkersCarryTheirOwnNameAndDropOnesAnItemGave)
{
    std::promise<std::tuple<long, std::string, std::string>> seen;
    runAsync([&seen] {
        char system[32] = {};
        pthread_getname_np(pthread_self(), system, sizeof system);
        const std::string description = threaddescription();
        setthreadname("t_EventMouseHandler");  // long names are cut for the system only
        char cut[32] = {};
        pthread_getname_np(pthread_self(), cut, sizeof cut);
        seen.set_value({syscall(SYS_gettid), std::string(system) + "|" + cut, description + threaddescription()});
    });
    auto [tid, system, description] = seen.get_future().get();
    EXPECT_EQ(system, "vxtools worker|t_EventMouseHan");
    EXPECT_NE(description.find("name = (null)}"), std::string::npos) << description;
    EXPECT_NE(description.find("name = t_EventMouseHandler}"), std::string::npos) << description;
    // Once the item is done its worker has the worker's name again.
    std::string name = "t_EventMouseHan";
    for (auto end = std::chrono::steady_clock::now() + 10s; name == "t_EventMouseHan" && std::chrono::steady_clock::now() < end;) {
        std::this_thread::sleep_for(1ms);
        std::ifstream("/proc/self/task/" + std::to_string(tid) + "/comm") >> name;
    }
    EXPECT_EQ(name, "vxtools");  // "vxtools worker", read up to the blank
}

TEST(WorkerPool, TasksThatWaitForEachOtherAllRunAtOnce)
{
    constexpr int tasks = 96;
    std::mutex lock;
    std::condition_variable arrived;
    int present = 0;
    std::atomic<int> metAll{0};
    DispatchGroup group;
    // Half of them say that they wait; for the others the pool has to find out.
    for (int i = 0; i < tasks; ++i)
        group.async([&, i] {
            std::optional<BlockingWait> blocking;
            if (i % 2 == 0) blocking.emplace();
            std::unique_lock<std::mutex> guard(lock);
            if (++present == tasks) arrived.notify_all();
            // A pool that made a task wait for another's worker would leave this one alone.
            if (arrived.wait_for(guard, 20s, [&] { return present == tasks; })) ++metAll;
        });
    group.wait();
    EXPECT_EQ(metAll.load(), tasks);
    EXPECT_GE(poolworkers(), static_cast<size_t>(tasks));
}

TEST(WorkerPool, IdleWorkersAreReused)
{
    DispatchGroup warm;
    warm.async([] {});
    warm.wait();
    std::this_thread::sleep_for(50ms);  // let the worker go idle again
    size_t before = poolworkers();
    for (int round = 0; round < 20; ++round) {
        DispatchGroup group;
        group.async([] {});
        group.wait();
        std::this_thread::sleep_for(2ms);
    }
    EXPECT_LE(poolworkers(), before + 1);
    DispatchGroup().wait();  // nothing entered: returns at once
}
