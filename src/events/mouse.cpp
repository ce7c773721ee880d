#include "events/mouse.h"

#include "platform/clock.h"
#include "platform/log.h"
#include "platform/threads.h"
#include "windows/window_table.h"

#include <mutex>

std::atomic<bool> mouseEventPending{false};
ClosureSlot programMouseHandler;

namespace {

std::mutex mouseLock;
std::vector<t_Event> mouseEventQueue;

t_Event mouseEvent(uint8_t window, const MouseEventRecord& mouse, int64_t ax, int64_t ay, int64_t cx, int64_t cy)
{
    const uint64_t f = mouse.modifierFlags;
    t_Event e;
    e.Kind = 2;
    e.Index = static_cast<int64_t>(mouse.buttons);
    e.WindowX = ax;
    e.WindowY = ay;
    e.ClickX = cx;
    e.ClickY = cy;
    e.Window = window;
    e.Time = static_cast<int64_t>(absolutetime() * 1000);
    setmodifierfields(e, f);
    return e;
}

// What a click needs of a window's record: the screen and the border around it.
struct ClickGeometry {
    int64_t width = 0, height = 0, borderWidth = 0, borderHeight = 0;
};

// The geometry of a created window, taken under the record lock; false for a window not
// created. Only fields that window creation sets under the lock are read: the program thread
// changes others (cursor, colours) without it while a click comes in.
bool createdGeometry(uint8_t window, ClickGeometry& geometry)
{
    if (!graphicwindowexists(window)) return false;
    std::lock_guard<std::mutex> guard(windowRecordLock);
    const t_Window& w = windowTable[window];
    if (!w.Initialized) return false;
    geometry = {w.Width, w.Height, w.BorderWidth, w.BorderHeight};
    return true;
}

void callProgramMouseHandler()
{
    runAsync([] {
        if (threadnumber() >= 3) setthreadname("t_EventMouse");
        programMouseHandler();
    });
}

}  // namespace

int64_t clippedclick(int64_t position, int64_t size)
{
    return position < 0 ? -1 : position >= size ? -2 : position;
}

void t_MouseEventHandler(int64_t window, const MouseEventRecord& mouse, double x, double y)
{
    const auto ax = static_cast<int64_t>(x), ay = static_cast<int64_t>(y);
    std::string windowText;
    int64_t cx = -3, cy = -3;
    ClickGeometry g;
    if (window < 0 || window > 7) {
        logline("t_MouseEventHandler: Unknown window, AbsX = " + std::to_string(ax) + ", AbsY = " + std::to_string(ay));
    } else if (!createdGeometry(static_cast<uint8_t>(window), g)) {
        logline("t_MouseEventHandler: Window #" + std::to_string(window) + " not initialized.");
    } else {
        cx = clippedclick(ax - g.borderWidth, g.width);
        cy = clippedclick(g.height + g.borderHeight - ay, g.height);
        std::lock_guard<std::mutex> guard(mouseLock);
        mouseEventQueue.push_back(mouseEvent(static_cast<uint8_t>(window), mouse, ax, ay, cx, cy));
        windowText = "Graphic #" + std::to_string(window);
    }
    logline("t_MouseEventHandler: " + windowText + " window, X = " + std::to_string(cx) + ", Y = " + std::to_string(cy));
    mouseEventPending = mouseeventcount() > 0;
    callProgramMouseHandler();
    logline("t_MouseEventHandler: Calling program mouse handler asynchronously.");
}

void t_MouseEventPostCloseBoxClick(uint8_t window)
{
    t_WindowVisible(window, false);
    logline("t_MouseEventPostCloseBoxClick: Window = " + std::to_string(window));
}

size_t mouseeventcount()
{
    std::lock_guard<std::mutex> guard(mouseLock);
    return mouseEventQueue.size();
}

std::vector<t_Event> takemouseevents()
{
    std::lock_guard<std::mutex> guard(mouseLock);
    std::vector<t_Event> events;
    events.swap(mouseEventQueue);
    mouseEventPending = false;
    return events;
}
