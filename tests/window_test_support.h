// Helpers for tests that create windows: a fresh pool and table, and the log lines of a call.
#pragma once

#include "windows/window_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

// Forgets every window and gives the whole pool back, all bytes 255.
inline void resetwindows()
{
    ensurememory();
    std::lock_guard<std::mutex> guard(windowRecordLock);
    windowTable.assign(8, t_Window{});
    std::fill(memoryPool.begin(), memoryPool.end(), 255);
    highMemory = memoryTop;
}

// The lines `action` writes to standard output, without those of the auto-update process
// that may start meanwhile.
inline std::vector<std::string> loglines(const std::function<void()>& action)
{
    testing::internal::CaptureStdout();
    action();
    std::istringstream output(testing::internal::GetCapturedStdout());
    std::vector<std::string> lines;
    for (std::string line; std::getline(output, line);)
        if (line.rfind("t_WindowAutoUpdateProcess:", 0) != 0) lines.push_back(line);
    return lines;
}

inline bool haslogline(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// A font record with cells of width x height and `dataSize` bytes of data.
inline t_Font cellfont(int64_t width, int64_t height, size_t dataSize = 1)
{
    t_Font font;
    font.Format = 2;
    font.Width = width;
    font.Height = height;
    font.End = 255;
    font.Data.assign(dataSize, 0);
    return font;
}

// The code and colour byte of cell (column, line) of window `window`'s text screen.
inline uint8_t cellcode(uint8_t window, int64_t column, int64_t line)
{
    const t_Window& w = windowTable[window];
    return memoryPool[w.TextMemoryStart + (line - 1) * w.TextWidth + column - 1];
}

inline uint8_t cellcolour(uint8_t window, int64_t column, int64_t line)
{
    const t_Window& w = windowTable[window];
    return memoryPool[w.TextMemoryStart + (w.TextMemoryEnd - w.TextMemoryStart + 1) / 2 + (line - 1) * w.TextWidth +
                      column - 1];
}

// A copy of window `window`'s graphic memory.
inline std::vector<uint8_t> graphicmemory(uint8_t window)
{
    const t_Window& w = windowTable[window];
    return std::vector<uint8_t>(memoryPool.begin() + w.MemoryStart, memoryPool.begin() + w.MemoryEnd + 1);
}
