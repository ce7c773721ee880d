#include "windows/window_update.h"

#include "app/graphemes.h"
#include "app/program_thread.h"
#include "platform/clock.h"
#include "platform/log.h"
#include "platform/main_thread.h"
#include "platform/threads.h"
#include "platform/widgets.h"
#include "platform/worker_pool.h"
#include "windows/video_changes.h"
#include "windows/window_lookup.h"
#include "windows/window_table.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <optional>
#include <time.h>

namespace {

// The auto-update process waits here until a window needs it, or until the next window is due.
// Never destroyed: threads may still wake the process while the process ends.
struct AutoUpdateSignal {
    std::mutex lock;
    std::condition_variable wake;
    bool requested = false;
};

AutoUpdateSignal& autoUpdateSignal()
{
    static auto* signal = new AutoUpdateSignal;
    return *signal;
}

// Whether each view is off the screen: hidden or minimized, as its window system tells.
std::array<std::atomic<bool>, 8> viewOffScreen{};

int64_t nowMilliseconds()
{
    return static_cast<int64_t>(absolutetime() * 1000);
}

// Whether window `window` is due for an auto-update now: shown, with AutoUpdate on, not
// making its picture, and its refresh interval over.
bool dueForUpdate(uint8_t window)
{
    if (viewOffScreen[window]) return false;
    std::lock_guard<std::mutex> guard(windowRecordLock);
    t_Window& w = windowTable[window];
    if (!w.Initialized || !w.AutoUpdate || !w.VerticalBlank || !w.Visible) return false;
    int64_t interval = w.RefreshRate == 0 ? 0 : 1000 / w.RefreshRate;
    return nowMilliseconds() - w.UpdateStarted >= interval;
}

void noteUpdateStarted(uint8_t window)
{
    std::lock_guard<std::mutex> guard(windowRecordLock);
    windowTable[window].UpdateStarted = nowMilliseconds();
}

// An update of a window whose memory has not changed since its picture: the picture is not
// made again, but the times a program may pace its drawing by move as if it had been.
void noteUnchangedUpdate(uint8_t window)
{
    const double start = absolutetime();
    std::lock_guard<std::mutex> guard(windowRecordLock);
    t_Window& w = windowTable[window];
    w.UpdateStarted = nowMilliseconds();
    const double end = absolutetime();
    w.UpdateDuration = static_cast<int64_t>(end * 1000000) - static_cast<int64_t>(start * 1000000);
    w.UpdateFinished = nowMilliseconds();
}

// When window `window` next needs the auto-update process (in milliseconds of
// nowMilliseconds()); nothing while it is not shown with AutoUpdate on, and after the program
// has ended, while there is no change to show.
std::optional<int64_t> nextDue(uint8_t window, bool programRunning)
{
    if (!graphicwindowexists(window) || viewOffScreen[window]) return std::nullopt;
    std::lock_guard<std::mutex> guard(windowRecordLock);
    const t_Window& w = windowTable[window];
    if (!w.Initialized || !w.AutoUpdate || !w.Visible) return std::nullopt;
    if (!programRunning && !videochanged(window)) return std::nullopt;
    if (!w.VerticalBlank) return nowMilliseconds() + 1;  // its picture is being made
    return w.UpdateStarted + (w.RefreshRate == 0 ? 0 : 1000 / w.RefreshRate);
}

// Waits until the next window is due, or until something that concerns the process changes.
void waitForNextPass()
{
    AutoUpdateSignal& signal = autoUpdateSignal();
    const bool programRunning = runningprogramthreads() > 0;
    // Set before the windows are looked at: a change after the look wakes the process.
    wakeonvideochange(!programRunning);
    // The windows are looked at without the signal's lock, which drawing takes (through a
    // wake) while it holds video memory: holding it here while waiting for a record would
    // close a circle with a reader that holds a record and waits for video memory. A wake
    // that comes after the look leaves `requested` set, and the wait below returns at once.
    std::optional<int64_t> due;
    for (uint8_t n = 0; n <= 7; ++n)
        if (std::optional<int64_t> next = nextDue(n, programRunning)) due = due ? std::min(*due, *next) : *next;
    std::unique_lock<std::mutex> guard(signal.lock);
    const auto requested = [&signal] { return signal.requested; };
    if (!due) {
        signal.wake.wait(guard, requested);
    } else {
        // At least a millisecond between passes, as with a refresh rate of 0.
        const int64_t wait = std::max<int64_t>(*due - nowMilliseconds(), 1);
        signal.wake.wait_for(guard, std::chrono::milliseconds(wait), requested);
    }
    signal.requested = false;
    wakeonvideochange(false);
}

// The text of the cells as Latin-1 characters in UTF-8, `lineEnd` after every line.
std::string screenText(const t_Window& w, const std::string& lineEnd)
{
    std::string text;
    int64_t cells = w.TextWidth * w.TextHeight;
    if (w.TextWidth <= 0 || w.TextHeight <= 0 || w.TextMemoryStart + cells > static_cast<int64_t>(memoryPool.size()))
        return text;
    text.reserve(static_cast<size_t>(cells + w.TextHeight * static_cast<int64_t>(lineEnd.size())));
    const uint8_t* memory = memoryPool.data() + w.TextMemoryStart;
    for (int64_t line = 0; line < w.TextHeight; ++line) {
        for (int64_t column = 0; column < w.TextWidth; ++column) {
            uint8_t code = memory[line * w.TextWidth + column];
            if (code < 128) {
                text.push_back(static_cast<char>(code));
            } else {
                text.push_back(static_cast<char>(0xC0 | code >> 6));
                text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
            }
        }
        text += lineEnd;
    }
    return text;
}

// The text screen of a created window with `lineEnd` after every line, read with its record
// and its text memory held still; nothing for a window without a text screen. Only the fields
// that window creation sets under the record lock are read, since the program thread changes
// the others (cursor, colours) without it.
std::optional<std::string> readScreen(uint8_t window, const std::string& lineEnd)
{
    std::lock_guard<std::mutex> guard(windowRecordLock);
    const t_Window& w = windowTable[window];
    if (!w.Initialized || w.TextMemoryStart < 0) return std::nullopt;
    VideoMemoryGuard reading(VideoMemoryGuard::Use::read);
    return screenText(w, lineEnd);
}

// Removes trailing blanks from every line and the empty lines at the end.
std::string tidyScreen(const std::string& text)
{
    std::vector<std::vector<uint8_t>> pieces = splitbytes(stringtobytes(text), 13);
    for (std::vector<uint8_t>& piece : pieces)
        while (!piece.empty() && piece.back() == 32) piece.pop_back();
    while (pieces.size() > 1 && pieces.back().empty()) pieces.pop_back();
    std::vector<uint8_t> joined = joinbytes(pieces, 13);
    std::string tidy(joined.begin(), joined.end());
    return validutf8(tidy) ? tidy : bytestostring(joined);
}

}  // namespace

bool wantsupdatelayer(uint8_t window)
{
    if (!graphicwindowexists(window)) return false;
    std::lock_guard<std::mutex> guard(windowRecordLock);
    return windowTable[window].Initialized && windowTable[window].QuickUpdate;
}

void autoupdatewake()
{
    AutoUpdateSignal& signal = autoUpdateSignal();
    std::lock_guard<std::mutex> guard(signal.lock);
    signal.requested = true;
    signal.wake.notify_all();
}

void setviewonscreen(uint8_t window, bool onScreen)
{
    if (window > 7 || viewOffScreen[window].exchange(!onScreen) == !onScreen) return;
    autoupdatewake();
}

void setverticalblank(uint8_t window, bool value)
{
    if (!graphicwindowexists(window)) return;
    std::lock_guard<std::mutex> guard(windowRecordLock);
    windowTable[window].VerticalBlank = value;
}

void t_WindowUpdate(uint8_t window, bool later)
{
    if (!memoryInitialized) return;
    if (window > 7) {
        logline("t_WindowUpdate: Window is not a graphic window.");
        return;
    }
    QWidget* view = windowview(window);
    if (view == nullptr) {
        logline("t_WindowUpdate: Window #" + std::to_string(window) + " view is nil, resource undefined.");
        return;
    }
    runOnMainThread([view, later] { redisplayview(view, later); });
}

void t_WindowAutoUpdate(uint8_t window, bool on)
{
    if (window > 7) {
        logline("t_WindowAutoUpdate: Window is not a graphic window.");
        return;
    }
    bool set = false;
    if (graphicwindowexists(window)) {
        std::lock_guard<std::mutex> guard(windowRecordLock);
        if (windowTable[window].Initialized) {
            windowTable[window].AutoUpdate = on;
            set = true;
        }
    }
    if (set)
        autoupdatewake();
    else
        logline("t_WindowAutoUpdate: Window #" + std::to_string(window) + " not initialized.");
}

int64_t autoupdatepass()
{
    int64_t asked = 0;
    for (uint8_t n = 0; n <= 7; ++n) {
        if (!dueForUpdate(n)) continue;
        // An unchanged window is settled without its view: no call to the GUI thread.
        const uint64_t changes = videochanges(n);
        if (changes == picturedchanges(n)) {
            noteUnchangedUpdate(n);
            continue;
        }
        QWidget* view = windowview(n);
        if (view == nullptr) {
            logline("t_WindowAutoUpdateProcess: Window #" + std::to_string(n) + " view is nil, resource undefined.");
            continue;
        }
        noteUpdateStarted(n);
        notepictured(n, changes);  // the picture asked for shows at least this change
        runOnMainThread([view] { redisplayview(view, true); });
        ++asked;
    }
    return asked;
}

void t_WindowAutoUpdateProcess()
{
    logline("t_WindowAutoUpdateProcess: Start.");
    if (threadnumber() > 2) setthreadname("t_WindowAutoUpdate");
    autoUpdateRunning = true;
    // The process waits for most of its life: its worker does not count against the pool's width.
    BlockingWait blocking;
    while (memoryInitialized && autoUpdateRunning) {
        autoupdatepass();
        waitForNextPass();
    }
    autoUpdateRunning = false;
    logline("t_WindowAutoUpdateProcess: End.");
}

std::string t_GetScreen(uint8_t window, const std::string& lineEnd)
{
    if (window > 7) {
        logline("t_GetScreen: Window is not a graphic window.");
        return "";
    }
    std::optional<std::string> text;
    if (graphicwindowexists(window)) text = readScreen(window, lineEnd);
    if (!text) {
        logline("t_GetScreen: Window #" + std::to_string(window) + " not initialized.");
        return "";
    }
    return lineEnd.empty() ? *text : tidyScreen(*text);
}
