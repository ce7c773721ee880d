#include "platform/log.h"

#include <cerrno>
#include <mutex>
#include <unistd.h>

static std::mutex& outputLock()
{
    static auto* lock = new std::mutex;  // never destroyed: threads may log while the process ends
    return *lock;
}

static void writeAll(const char* data, size_t size)
{
    while (size > 0) {
        ssize_t written = ::write(STDOUT_FILENO, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return;  // standard output is gone; a log line is never worth failing for
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
}

void logtext(const std::string& text)
{
    std::lock_guard<std::mutex> guard(outputLock());
    writeAll(text.data(), text.size());
}

void logline(const std::string& line)
{
    logtext(line + "\n");
}
