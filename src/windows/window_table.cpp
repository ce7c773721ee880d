#include "windows/window_table.h"

#include "events/menus.h"
#include "events/side_windows.h"
#include "platform/log.h"
#include "platform/threads.h"
#include "windows/video_changes.h"

#include <atomic>
#include <cstring>
#include <thread>
#include <time.h>

std::vector<t_Window>& windowTable = *new std::vector<t_Window>;
std::vector<uint8_t>& memoryPool = *new std::vector<uint8_t>;
std::atomic<int64_t> highMemory{memoryTop};
std::atomic<bool> memoryInitStarted{false};
std::atomic<bool> memoryInitialized{false};
std::atomic<bool> autoUpdateRunning{false};
std::mutex windowRecordLock;

namespace {
std::mutex videoMemoryLock;
std::atomic<int> readersWaiting{0};
}  // namespace

VideoMemoryGuard::VideoMemoryGuard(Use use)
{
    if (use == Use::read) {
        readersWaiting.fetch_add(1, std::memory_order_relaxed);
        videoMemoryLock.lock();
        readersWaiting.fetch_sub(1, std::memory_order_relaxed);
        return;
    }
    while (readersWaiting.load(std::memory_order_relaxed) > 0) std::this_thread::yield();
    videoMemoryLock.lock();
}

VideoMemoryGuard::~VideoMemoryGuard()
{
    videoMemoryLock.unlock();
}

const std::array<uint8_t, 16> paletteRed = {0, 255, 0, 255, 0, 84, 0, 0, 128, 255, 168, 255, 0, 255, 0, 255};
const std::array<uint8_t, 16> paletteGreen = {0, 0, 0, 0, 128, 84, 0, 128, 64, 128, 168, 128, 255, 255, 255, 255};
const std::array<uint8_t, 16> paletteBlue = {0, 0, 128, 255, 0, 84, 255, 255, 0, 0, 168, 128, 0, 0, 255, 255};

t_RGBColor palettecolor(int64_t index)
{
    if (index < 0 || index > 15) return t_RGBColor{255, 0, 0, 0};
    return t_RGBColor{255, paletteRed[index], paletteGreen[index], paletteBlue[index]};
}

int64_t bytesperrow(int64_t bitDepth, int64_t width)
{
    switch (bitDepth) {
    case 1: return width / 8;
    case 4: return width / 2;
    case 8: return width;
    case 16: return width * 2;
    case 24: return width * 3;
    case 32: return width * 4;
    default: return 0;
    }
}

int64_t redirectmode(const t_Window& w)
{
    return std::atomic_ref<int64_t>(const_cast<int64_t&>(w.TextRedirectOutput)).load(std::memory_order_relaxed);
}

void setredirectmode(t_Window& w, int64_t mode)
{
    std::atomic_ref<int64_t>(w.TextRedirectOutput).store(mode, std::memory_order_relaxed);
}

bool graphicwindowexists(uint8_t window)
{
    return window <= 7 && memoryInitialized && windowTable.size() == 8;
}

void ensurememory()
{
    if (!memoryInitStarted) t_InitMemory();
    const timespec step{0, 10000000};
    while (!memoryInitialized) nanosleep(&step, nullptr);
}

void t_InitMemory()
{
    if (memoryInitStarted.exchange(true)) return;
    logline("t_InitMemory: Start.");
    if (currentthreadnumber() == 2) setthreadname("Main Program");
    highMemory = memoryTop;
    memoryPool.assign(static_cast<size_t>(memoryPoolSize), 255);
    windowTable.assign(8, t_Window{});
    preparemenus();
    setuppasteboardview();
    memoryInitialized = true;
    logline("t_InitMemory: End.");
}

// Whether the block [start, start + size) lies inside the pool.
static bool insidePool(int64_t start, int64_t size)
{
    return start >= 0 && size >= 0 && start + size <= static_cast<int64_t>(memoryPool.size());
}

static void clearGraphicMemory(const t_Window& w)
{
    int64_t size = w.Height * bytesperrow(w.BitDepth, w.Width);
    if (size <= 0 || !insidePool(w.MemoryStart, size)) return;
    uint8_t* pixels = memoryPool.data() + w.MemoryStart;
    if (w.BitDepth != 32) {
        std::memset(pixels, 0, static_cast<size_t>(size));
        return;
    }
    for (int64_t i = 0; i + 3 < size; i += 4) {
        pixels[i] = 255;
        pixels[i + 1] = pixels[i + 2] = pixels[i + 3] = 0;
    }
}

static void clearTextMemory(const t_Window& w)
{
    if (w.TextMemoryStart < 0 || w.TextWidth <= 0 || w.TextHeight <= 0) return;
    int64_t plane = (w.TextMemoryEnd - w.TextMemoryStart + 1) / 2;
    int64_t cells = w.TextWidth * w.TextHeight;
    if (cells > plane || !insidePool(w.TextMemoryStart, plane + cells)) return;
    std::memset(memoryPool.data() + w.TextMemoryStart, 32, static_cast<size_t>(cells));
    std::memset(memoryPool.data() + w.TextMemoryStart + plane, w.TextColor, static_cast<size_t>(cells));
}

void t_ClearWindowMemory(uint8_t window)
{
    if (!graphicwindowexists(window)) return;
    VideoMemoryGuard guard(VideoMemoryGuard::Use::draw);
    const t_Window& w = windowTable[window];
    clearGraphicMemory(w);
    clearTextMemory(w);
    notevideochange(window);
}
