#include "app/program_thread.h"

#include "platform/log.h"
#include "platform/main_thread.h"
#include "platform/threads.h"
#include "platform/worker_pool.h"
#include "windows/window_update.h"

#include <condition_variable>
#include <mutex>

namespace {

// The hand-over from startprocess to the thread it starts: a second start waits until the
// thread of the first has taken its entry.
std::mutex startLock;
std::condition_variable entryTaken;
std::function<void()> programEntry;
bool programStartPending = false;
int64_t programStackSize = 0;

std::atomic<int64_t> programThreads{0};

// Counted from its creation; the count drops when the thread ends, also when it ends from
// inside (pthread_exit unwinds the stack).
struct ProgramThreadEnd {
    ~ProgramThreadEnd()
    {
        --programThreads;
        autoupdatewake();  // with the program gone, unchanged windows need no updates
    }
};

void startprogramthread()
{
    ProgramThreadEnd counted;
    std::function<void()> entry;
    {
        std::lock_guard<std::mutex> guard(startLock);
        entry = std::move(programEntry);
        programEntry = nullptr;
        programStartPending = false;
    }
    entryTaken.notify_all();
    autoupdatewake();  // windows with auto-update want it again while a program runs
    if (entry) entry();
}

// Runs on the GUI thread: creates the thread that takes the pending entry.
void startprogramclass()
{
    int64_t stackSize;
    {
        std::lock_guard<std::mutex> guard(startLock);
        stackSize = programStackSize;
    }
    ++programThreads;
    if (startthread(startprogramthread, static_cast<size_t>(stackSize > 0 ? stackSize : 0))) return;
    --programThreads;
    logline("startprocess: Thread could not be started.");
    {
        std::lock_guard<std::mutex> guard(startLock);
        programEntry = nullptr;
        programStartPending = false;
    }
    entryTaken.notify_all();
}

}  // namespace

void startprocess(std::function<void()> entry, int64_t stackSize)
{
    {
        std::unique_lock<std::mutex> guard(startLock);
        entryTaken.wait(guard, [] { return !programStartPending; });
        programStartPending = true;
        programStackSize = stackSize;
        programEntry = std::move(entry);
    }
    runOnMainThread(startprogramclass);
}

int64_t runningprogramthreads()
{
    return programThreads.load();
}

namespace {

// Thrown by endcallout, caught only where runAsync runs the work.
struct CallOutEnd {};

thread_local bool inCallOut = false;

}  // namespace

void runAsync(std::function<void()> work)
{
    poolsubmit([work = std::move(work)] {
        struct Mark {
            Mark() { inCallOut = true; }
            ~Mark() { inCallOut = false; }
        } mark;
        try {
            work();
        } catch (const CallOutEnd&) {
        }
    });
}

bool incallout()
{
    return inCallOut;
}

void endcallout()
{
    throw CallOutEnd{};
}

int64_t threadnumberfromdescription(const std::string& description)
{
    const std::string marker = "number = ";
    size_t position = description.find(marker);
    if (position == std::string::npos) return 0;
    size_t comma = description.find(',', position);
    if (comma == std::string::npos) return 0;
    std::string digits = description.substr(position + marker.size(), comma - position - marker.size());
    size_t i = 0;
    while (i < digits.size() && digits[i] == ' ') ++i;
    bool negative = false;
    if (i < digits.size() && digits[i] == '-') {
        negative = true;
        ++i;
        while (i < digits.size() && digits[i] == ' ') ++i;
    }
    int64_t value = 0;
    for (; i < digits.size() && digits[i] >= '0' && digits[i] <= '9'; ++i) {
        if (value > (INT64_MAX - 9) / 10) break;  // a number this long is no thread number
        value = value * 10 + (digits[i] - '0');
    }
    return negative ? -value : value;
}

int64_t threadnumber()
{
    return threadnumberfromdescription(threaddescription());
}
