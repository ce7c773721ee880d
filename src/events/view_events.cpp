#include "events/view_events.h"

#include "events/keyboard.h"
#include "events/mouse.h"
#include "platform/log.h"
#include "windows/window_table.h"

std::atomic<bool> keyPressed{false};
std::atomic<bool> shiftPressed{false};
std::atomic<bool> controlPressed{false};
std::atomic<bool> optionPressed{false};
std::atomic<bool> commandPressed{false};
std::atomic<bool> fnPressed{false};
std::atomic<bool> leftMouseButtonPressed{false};
std::atomic<bool> rightMouseButtonPressed{false};


namespace {

// Whether an event of window `window` is handed on: the window is created and does not
// ignore events. A window not created is reported with "<routine>: Graphic window (n) not
// initialized.".
bool passesEventOn(int64_t window, const char* routine)
{
    if (!memoryInitialized || window < 0 || window > 7) return false;
    bool initialized, ignore;
    {
        std::lock_guard<std::mutex> guard(windowRecordLock);
        initialized = windowTable[window].Initialized;
        ignore = windowTable[window].IgnoreEvents;
    }
    if (!initialized) logline(std::string(routine) + ": Graphic window (" + std::to_string(window) + ") not initialized.");
    return initialized && !ignore;
}

}  // namespace

void setmodifierflags(uint64_t modifierFlags)
{
    capsLockPressed = (modifierFlags & 0x10000) != 0;
    shiftPressed = (modifierFlags & 0x20000) != 0;
    controlPressed = (modifierFlags & 0x40000) != 0;
    optionPressed = (modifierFlags & 0x80000) != 0;
    commandPressed = (modifierFlags & 0x100000) != 0;
    fnPressed = (modifierFlags & 0x800000) != 0;
}

void setmodifierfields(t_Event& e, uint64_t f)
{
    e.Mods = static_cast<int64_t>((f >> 16) & 0xFFFF);
    e.CapsLockPressed = f & 0x10000;
    e.ShiftPressed = f & 0x20000;
    e.ControlPressed = f & 0x40000;
    e.OptionPressed = f & 0x80000;
    e.CommandPressed = f & 0x100000;
    e.NumericPadPressed = f & 0x200000;
    e.HelpPressed = f & 0x400000;
    e.FnPressed = f & 0x800000;
}

void viewKeyDown(int64_t window, const KeyEventRecord& key)
{
    if (passesEventOn(window, "viewKeyDown")) t_KeyEventHandler(window, key);
    keyPressed = true;
}

void viewKeyUp()
{
    keyPressed = false;
}

void viewMouseDown(int64_t window, const MouseEventRecord& mouse, bool right)
{
    if (passesEventOn(window, "viewMouseDown")) t_MouseEventHandler(window, mouse, mouse.x, mouse.y);
    leftMouseButtonPressed = !right;
    rightMouseButtonPressed = right;
}

void viewMouseUp()
{
    leftMouseButtonPressed = false;
    rightMouseButtonPressed = false;
}
