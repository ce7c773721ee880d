// Window creation: a graphic window gets its video memory from the pool, its record and its
// view; creating it again gives the old memory back and closes the gap in the pool.
#include "app/checked_arithmetic.h"
#include "app/program_thread.h"
#include "platform/bundle.h"
#include "platform/log.h"
#include "windows/window_lookup.h"
#include "windows/window_placement.h"
#include "windows/window_table.h"
#include "windows/window_update.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

namespace {

std::atomic<bool> autoUpdateStarted{false};

std::string prefix(uint8_t window)
{
    return "t_InitWindow: GraphicWindow #" + std::to_string(window);
}

// Whole kilobytes (truncated), shown with two decimals.
std::string kilobytes(int64_t bytes)
{
    return formatreal(32, 1, 2, true, static_cast<double>(bytes / 1024));
}

std::string hex(int64_t value)
{
    return hexstring(static_cast<uint32_t>(value));
}

// Moves the pool bytes [start, end] up by `distance`, highest byte first.
void moveBlockUp(int64_t start, int64_t end, int64_t distance)
{
    if (start < 0 || end < start || end + distance >= static_cast<int64_t>(memoryPool.size())) return;
    std::memmove(memoryPool.data() + start + distance, memoryPool.data() + start, static_cast<size_t>(end - start + 1));
}

// Moves the blocks up by `distance`, the highest first: a block is moved before a lower one
// can land on it, whatever the window numbers say about their order in the pool.
void moveBlocksUp(std::vector<std::pair<int64_t, int64_t>> blocks, int64_t distance)
{
    std::ranges::sort(blocks, std::greater<>());
    for (const auto& [start, end] : blocks) moveBlockUp(start, end, distance);
}

// Gives the video memory of window `window` back and moves every block below it up.
// Runs under the record lock.
void giveMemoryBack(uint8_t window)
{
    t_Window& w = windowTable[window];
    w.Initialized = false;
    const std::string p = prefix(window);
    const int64_t end = w.MemoryEnd;
    int64_t size = end - w.MemoryStart + 1;
    logline(p + " high memory = $" + hex(end) + ", graphic block size to delete = $" + hex(size) + ".");
    if (w.TextMemoryStart >= 0) {
        int64_t textSize = w.TextMemoryEnd - w.TextMemoryStart + 1;
        logline(p + " high memory = $" + hex(end) + ", text block size to delete = $" + hex(textSize) + ".");
        size += textSize;
    }
    if (size <= 0 || w.MemoryStart < 0) return;  // no blocks of its own to give back
    std::vector<std::pair<int64_t, int64_t>> moved;
    for (uint8_t n = 0; n <= 7; ++n) {
        t_Window& v = windowTable[n];
        if (!v.Initialized || v.MemoryStart >= end) continue;
        logline(p + " moving graphic block for win #" + std::to_string(n) + "$" + hex(v.MemoryStart) + "..." +
                hex(v.MemoryEnd) + " to " + hex(v.MemoryStart + size) + "..." + hex(v.MemoryEnd + size));
        moved.emplace_back(v.MemoryStart, v.MemoryEnd);
        if (v.TextMemoryStart >= 0 && v.TextMemoryStart < end) {
            logline(p + " moving text block for win #" + std::to_string(n) + "$" + hex(v.TextMemoryStart) + "..." +
                    hex(v.TextMemoryEnd) + " to $" + hex(v.TextMemoryStart + size) + "..." +
                    hex(v.TextMemoryEnd + size));
            moved.emplace_back(v.TextMemoryStart, v.TextMemoryEnd);
            v.TextMemoryStart += size;
            v.TextMemoryEnd += size;
        }
        v.MemoryStart += size;
        v.MemoryEnd += size;
    }
    moveBlocksUp(std::move(moved), size);
    highMemory += size;
}

// Takes a block of `need` bytes from the top of the free pool: its first and last index.
std::pair<int64_t, int64_t> takeBlock(int64_t need)
{
    int64_t top = highMemory;
    int64_t start = (top - need + 1) / 1024 * 1024;
    highMemory = start - 1;
    return {start, top};
}

// The width a 1- or 4-bit screen can have, with its line; the width unchanged otherwise.
int64_t correctedWidth(uint8_t window, int64_t bitDepth, int64_t width)
{
    if (bitDepth == 4 && width % 4 != 0) {
        logline(prefix(window) + " width with 4 bit depth must be a multiple of 4.");
        return (width + 1) / 4 * 4;
    }
    if (bitDepth == 1 && width % 8 != 0) {
        logline(prefix(window) + " width with 1 bit depth must be a multiple of 8.");
        return (width + 7) / 8 * 8;
    }
    return width;
}

bool supportedDepth(int64_t bitDepth)
{
    return bitDepth == 1 || bitDepth == 4 || bitDepth == 8 || bitDepth == 16 || bitDepth == 24 || bitDepth == 32;
}

std::string depthWords(int64_t bitDepth)
{
    return " pixel x " + std::to_string(bitDepth) + " bit";
}

void fillRecord(t_Window& w, int64_t bitDepth, bool autoUpdate, int64_t width, int64_t height, int64_t borderWidth,
                int64_t borderHeight, bool titleVisible)
{
    w.UpdateStarted = 0;
    w.UpdateFinished = 0;
    w.VerticalBlank = true;
    w.IgnoreEvents = false;
    w.RefreshRate = 30;
    w.AutoUpdate = autoUpdate;
    w.QuickUpdate = true;
    w.ScrollLock = false;
    w.BitDepth = bitDepth;
    w.Width = width;
    w.Height = height;
    w.BorderWidth = borderWidth;
    w.BorderHeight = borderHeight;
    w.TitleHeight = titleVisible ? sideWindowChromeHeight.load() : 0;
    w.RGBColor = palettecolor(0);
    w.RGBColorBorder = palettecolor(5);
    w.DrawingMode = 0;
    w.PositionX = 0;
    w.PositionY = 0;
}

void fillTextFields(t_Window& w, int64_t columns, int64_t lines)
{
    w.TextWidth = columns;
    w.TextHeight = lines;
    w.TextFirstColumn = 1;
    w.TextLastColumn = columns;
    w.TextFirstLine = 1;
    w.TextLastLine = lines;
    w.TextHpos = 1;
    w.TextVpos = 1;
    w.TextColor = 0xC0;
    w.LoResOffsetX = 0;
    w.LoResOffsetY = 0;
    w.LoResMode = 0;
}

void startAutoUpdate()
{
    if (autoUpdateRunning || autoUpdateStarted.exchange(true)) return;
    runAsync(t_WindowAutoUpdateProcess);
}

// Connects the new window to its view, clears its memory and gives its window the title,
// the frame and the border. Returns false when the interface has no view for it.
bool attachView(uint8_t window, const t_Font& font, int64_t width, int64_t height)
{
    QWidget* view = windowview(window);
    QWidget* object = windowobject(window);
    {
        std::lock_guard<std::mutex> guard(windowRecordLock);
        t_Window& w = windowTable[window];
        if (view == nullptr) {
            w.Initialized = false;
            w.Font = t_Font{};
            return false;
        }
        w.Initialized = true;
        w.View = view;
        w.Window = object;
        w.Font = font;
        t_ClearWindowMemory(window);
    }
    t_WindowTitle(window, windowtitlefrombundle(bundlepath(), windowTable[window].TextMemoryStart >= 0));
    t_WindowSize(window, -1, -1, width, height);
    t_ColorBorder(window, 5);
    return true;
}

}  // namespace

void t_InitWindow(uint8_t window, int64_t bitDepth, bool autoUpdate, int64_t width, int64_t height, int64_t borderWidth,
                  int64_t borderHeight, const t_Font& font, bool titleVisible)
{
    if (window > 7) {
        logline("t_InitWindow: Window is not a graphic window.");
        return;
    }
    const std::string p = prefix(window);
    logline(p + " Start.");
    ensurememory();
    uint8_t none = 255;
    t_FirstWindow.compare_exchange_strong(none, window);
    startAutoUpdate();
    if (windowTable[window].Initialized) {
        std::lock_guard<std::mutex> guard(windowRecordLock);
        giveMemoryBack(window);
    }
    const int64_t available = highMemory - memoryReserved;

    if (width < 32 || width > 8192) {
        logline(p + " cannot display " + std::to_string(width) + " horizontal pixel.");
        width = 1280;
    }
    if (height < 32 || height > 8192) {
        logline(p + " cannot display " + std::to_string(height) + " vertical pixel.");
        height = 800;
    }
    if (!supportedDepth(bitDepth)) {
        logline(p + " unsupported " + std::to_string(bitDepth) + " bit depth.");
        return;
    }
    width = correctedWidth(window, bitDepth, width);
    const int64_t need = height * bitDepth * width / 8;
    if (need > available) {
        logline(p + " has not enough graphic-video-memory (" + std::to_string(available / 1024) + "K available).");
        logline("t_InitWindow: Displaying " + std::to_string(width) + " x " + std::to_string(height) +
                depthWords(bitDepth) + " needs " + kilobytes(need) + "K video-memory.");
        return;
    }
    if (!titleVisible) {
        t_WindowTitleVisible(window, false);
        logline(p + " title will be invisible.");
    }
    if (borderWidth < 0) borderWidth = t_WindowPos(window, 15) - width;
    if (borderHeight < 0) borderHeight = t_WindowPos(window, 16) - height;

    int64_t columns = -1, lines = -1, textNeed = 0;
    if (!font.Data.empty()) {
        // A cell without pixels, or with a negative size, gives no text screen.
        columns = font.Width <= 0 ? 0 : width / font.Width;
        lines = font.Height <= 0 ? 0 : height / font.Height;
        textNeed = columns * lines * 2;
    }
    // The text block lies below the graphic block; together they must stay inside the pool.
    const int64_t graphicBlock = (need + 1023) / 1024 * 1024;
    if (textNeed > available || (textNeed > 0 && highMemory - graphicBlock - textNeed + 1 < 0)) {
        logline(p + " has not enough text-video-memory (" + std::to_string(available / 1024) + "K available).");
        logline("t_InitWindow: Displaying " + std::to_string(columns) + " x " + std::to_string(lines) +
                " characters needs " + kilobytes(textNeed) + "K text-video-memory.");
        return;
    }

    {
        std::lock_guard<std::mutex> guard(windowRecordLock);
        t_Window& w = windowTable[window];
        fillRecord(w, bitDepth, autoUpdate, width, height, borderWidth, borderHeight, titleVisible);
        std::tie(w.MemoryStart, w.MemoryEnd) = takeBlock(need);
        fillTextFields(w, columns, lines);
        if (textNeed == 0)
            w.TextMemoryStart = w.TextMemoryEnd = -1;
        else
            std::tie(w.TextMemoryStart, w.TextMemoryEnd) = takeBlock(textNeed);
    }
    logline(p + " = " + std::to_string(width) + " x " + std::to_string(height) + depthWords(bitDepth) + " = " +
            kilobytes(need) + "K video-memory = $" + hex(windowTable[window].MemoryStart) + ".");

    if (!attachView(window, font, width, height))
        logline(p + " could not be initialized, resource undefined.");
    autoupdatewake();
    logline(p + " End.");
}

void t_InitWindow(uint8_t window, int64_t bitDepth, int64_t columns, int64_t lines, int64_t border,
                  const std::string& fontName)
{
    ensurememory();
    t_Font font = t_LoadFontResource(fontName);
    if (font.Data.empty()) {
        logline("t_InitWindow: Font '" + fontName + "' not found.");
        return;
    }
    t_InitWindow(window, bitDepth, true, saturatedproduct(font.Width, columns), saturatedproduct(font.Height, lines),
                 border, border, font, true);
}
