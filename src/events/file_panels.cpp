#include "events/file_panels.h"

#include "platform/file_dialogs.h"
#include "platform/main_thread.h"
#include "platform/worker_pool.h"

#include <utf8proc.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <memory>
#include <time.h>

namespace {

int hexvalue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// `text` with every "%XX" replaced by its byte; a "%" without two hex digits stays.
std::string percentdecoded(const std::string& text)
{
    std::string decoded;
    decoded.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexvalue(text[i + 1]) >= 0 && hexvalue(text[i + 2]) >= 0) {
            decoded += static_cast<char>(hexvalue(text[i + 1]) * 16 + hexvalue(text[i + 2]));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

// `text` in NFC; text that is not valid UTF-8 stays as it is.
std::string precomposed(const std::string& text)
{
    utf8proc_uint8_t* composed = utf8proc_NFC(reinterpret_cast<const utf8proc_uint8_t*>(text.c_str()));
    if (composed == nullptr) return text;
    std::string result(reinterpret_cast<const char*>(composed));
    std::free(composed);
    return result;
}

void sleepfor(long nanoseconds)
{
    const timespec delay{0, nanoseconds};
    nanosleep(&delay, nullptr);
}

// Runs `panel` on the GUI thread and gives its result. From another thread the panel is
// queued there and this thread polls for it every millisecond, holding nothing meanwhile.
std::string onguithread(std::function<std::string()> panel)
{
    if (isMainThread()) return panel();
    struct Outcome {
        std::string path;
        std::atomic<bool> done{false};
    };
    auto outcome = std::make_shared<Outcome>();
    BlockingWait blocking;
    sleepfor(20'000'000);
    runOnMainThreadAsync([outcome, panel = std::move(panel)] {
        outcome->path = panel();
        outcome->done.store(true, std::memory_order_release);
    });
    while (!outcome->done.load(std::memory_order_acquire)) sleepfor(1'000'000);
    return outcome->path;
}

}  // namespace

std::string panelpath(const std::string& urlText)
{
    // NUL bytes end the text for the composition; a path cannot hold one anyway.
    std::string path = precomposed(percentdecoded(urlText).c_str());
    if (path.compare(0, 7, "file://") == 0) path.erase(0, 7);
    return path;
}

std::string t_OpenPanel(const std::string& title, const std::string& message, const std::string& fileTypes,
                        bool chooseFiles, bool chooseDirectories)
{
    return onguithread([=] {
        return panelpath(runopendialog(title, message, fileTypes, chooseFiles, chooseDirectories));
    });
}

std::string t_SavePanel(const std::string& fileName, const std::string& title, const std::string& message,
                        const std::string& fileTypes)
{
    return onguithread([=] { return panelpath(runsavedialog(fileName, title, message, fileTypes)); });
}
