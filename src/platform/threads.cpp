#include "platform/threads.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <limits.h>
#include <memory>
#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

std::atomic<int64_t> nextThreadNumber{2};

struct ThreadIdentity {
    int64_t number = 0;
    std::string name;
    bool named = false;
};

thread_local ThreadIdentity identity;

struct ThreadStart {
    std::function<void()> body;
    int64_t number;
};

// The longest prefix of `name` of at most `limit` bytes that does not cut a UTF-8 sequence.
std::string cutName(const std::string& name, size_t limit)
{
    if (name.size() <= limit) return name;
    size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
    return name.substr(0, end);
}

void* threadMain(void* argument)
{
    std::unique_ptr<ThreadStart> start(static_cast<ThreadStart*>(argument));
    identity.number = start->number;
    // A new thread inherits its creator's name ("AppDelegate" when the GUI thread made it);
    // until it names itself it carries the process's name, as an unnamed thread does.
    pthread_setname_np(pthread_self(), cutName(program_invocation_short_name, 15).c_str());
    std::function<void()> body = std::move(start->body);
    start.reset();
    body();
    return nullptr;
}

size_t roundedStackSize(size_t stackSize)
{
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    size_t minimum = static_cast<size_t>(PTHREAD_STACK_MIN);
    size_t size = stackSize < minimum ? minimum : stackSize;
    return (size + page - 1) / page * page;
}

}  // namespace

bool isprocessmainthread()
{
    return static_cast<pid_t>(syscall(SYS_gettid)) == getpid();
}

int64_t currentthreadnumber()
{
    if (identity.number == 0) identity.number = isprocessmainthread() ? 1 : nextThreadNumber++;
    return identity.number;
}

bool startthread(std::function<void()> body, size_t stackSize)
{
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) return false;
    bool started = false;
    if (pthread_attr_setstacksize(&attributes, roundedStackSize(stackSize)) == 0 &&
        pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED) == 0) {
        auto* start = new ThreadStart{std::move(body), nextThreadNumber++};
        pthread_t thread;
        started = pthread_create(&thread, &attributes, threadMain, start) == 0;
        if (!started) delete start;
    }
    pthread_attr_destroy(&attributes);
    return started;
}

void setthreadname(const std::string& name)
{
    identity.name = name;
    identity.named = true;
    setsystemthreadname(name);
}

void setsystemthreadname(const std::string& name)
{
    pthread_setname_np(pthread_self(), cutName(name, 15).c_str());
}

void resetthreadname(const std::string& systemName)
{
    if (!identity.named) return;
    identity.name.clear();
    identity.named = false;
    setsystemthreadname(systemName);
}

std::string threaddescription()
{
    char address[32];
    std::snprintf(address, sizeof address, "%p", static_cast<void*>(&identity));
    std::string name = identity.named ? identity.name : (isprocessmainthread() ? "main" : "(null)");
    return std::string("<Thread: ") + address + ">{number = " +
           std::to_string(currentthreadnumber()) + ", name = " + name + "}";
}
