// Helpers for tests that create windows: a fresh pool and table, and the log lines of a call.
#pragma once

#include "windows/window_lookup.h"
#include "windows/window_table.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

using Lines = std::vector<std::string>;

// Hides and forgets every window and gives the whole pool back, all bytes 255.
inline void resetwindows()
{
    for (uint8_t n = 0; n <= 12; ++n)
        if (QWidget* window = windowobject(n)) window->hide();
    ensurememory();
    std::lock_guard<std::mutex> guard(windowRecordLock);
    windowTable.assign(8, t_Window{});
    std::fill(memoryPool.begin(), memoryPool.end(), 255);
    highMemory = memoryTop;
}

// Tests that begin and end without windows.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { resetwindows(); }
    void TearDown() override { resetwindows(); }
};

// The lines `action` writes to standard output, without those of the auto-update process
// that may start meanwhile.
inline Lines loglines(const std::function<void()>& action)
{
    testing::internal::CaptureStdout();
    action();
    std::istringstream output(testing::internal::GetCapturedStdout());
    Lines lines;
    for (std::string line; std::getline(output, line);)
        if (line.rfind("t_WindowAutoUpdateProcess:", 0) != 0) lines.push_back(line);
    return lines;
}

inline bool haslogline(const Lines& lines, const std::string& line) { return std::ranges::find(lines, line) != lines.end(); }

// A font record with cells of width x height and `dataSize` bytes of data. Member by member
// and not inlined: GCC 12 takes the identifier's initialiser list, inlined into a caller, for a
// read before it is made (-Wmaybe-uninitialized, a false positive).
[[gnu::noinline]] inline t_Font cellfont(int64_t width, int64_t height, size_t dataSize = 1)
{
    t_Font font;
    font.Format = 2;
    font.End = 255;
    font.Width = width;
    font.Height = height;
    font.Data = std::vector<uint8_t>(dataSize);
    return font;
}

// The code byte of cell (column, line) of window `window`'s text screen; with `colour` its colour byte.
inline uint8_t cellcode(uint8_t window, int64_t column, int64_t line, bool colour = false)
{
    const t_Window& w = windowTable[window];
    const int64_t plane = colour ? (w.TextMemoryEnd - w.TextMemoryStart + 1) / 2 : 0;
    return memoryPool[w.TextMemoryStart + plane + (line - 1) * w.TextWidth + column - 1];
}

inline uint8_t cellcolour(uint8_t window, int64_t column, int64_t line) { return cellcode(window, column, line, true); }
