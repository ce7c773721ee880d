// The window table, the memory pool and the clearing of a window's video memory.
#include "windows/window_table.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class WindowTable : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensurememory(); }

    void TearDown() override
    {
        std::fill(memoryPool.begin(), memoryPool.end(), 255);
        windowTable.assign(8, t_Window{});
    }
};

// A window record with video memory at `start` as window creation would lay it out.
t_Window windowAt(int64_t start, int64_t depth, int64_t width, int64_t height)
{
    return t_Window{.Initialized = true, .BitDepth = depth, .Width = width, .Height = height, .MemoryStart = start,
                    .MemoryEnd = start + height * bytesperrow(depth, width) - 1};
}

// The bytes of the pool at `offsets`.
std::vector<int> poolbytes(std::initializer_list<int64_t> offsets)
{
    std::vector<int> values;
    for (int64_t offset : offsets) values.push_back(memoryPool[offset]);
    return values;
}

}  // namespace

TEST_F(WindowTable, PoolAndTableAfterInitialisation)
{
    EXPECT_TRUE(memoryInitStarted && memoryInitialized);
    EXPECT_TRUE(std::all_of(memoryPool.begin(), memoryPool.end(), [](uint8_t b) { return b == 255; }));
    // A second initialisation does nothing.
    memoryPool[70000] = 7;
    testing::internal::CaptureStdout();
    t_InitMemory();
    EXPECT_EQ(std::tuple(testing::internal::GetCapturedStdout(), memoryPool[70000]), std::tuple("", 7));
}

TEST_F(WindowTable, ClearingGraphicMemoryStaysInsideTheBlockAndMakesOpaqueBlack)
{
    const int64_t start = 13705216;
    windowTable[0] = windowAt(start, 24, 1280, 800);
    t_ClearWindowMemory(0);
    EXPECT_EQ(poolbytes({start - 1, start, start + 3071999, start + 3072000}), (std::vector<int>{255, 0, 0, 255}));
    EXPECT_EQ(std::count(memoryPool.begin(), memoryPool.end(), 0), 3072000);
    // Cleared thirty-two bit pixels are opaque black.
    windowTable[1] = windowAt(100000, 32, 8, 2);
    t_ClearWindowMemory(1);
    for (int pixel = 0; pixel < 16; ++pixel)
        EXPECT_EQ(poolbytes({100000 + pixel * 4, 100000 + pixel * 4 + 1, 100000 + pixel * 4 + 3}),
                  (std::vector<int>{255, 0, 0})) << pixel;
    EXPECT_EQ(memoryPool[100000 + 64], 255);
}

TEST_F(WindowTable, ClearingTextMemoryFillsBothPlanesAndLeavesBadRecordsAlone)
{
    t_Window w = windowAt(200000, 8, 16, 4);
    std::tie(w.TextWidth, w.TextHeight, w.TextMemoryStart, w.TextMemoryEnd, w.TextColor) = std::tuple(80, 25, 195904, 195904 + 4095, 0xF0);
    windowTable[2] = w;
    t_ClearWindowMemory(2);
    // Between the planes the bytes are not used.
    EXPECT_EQ(poolbytes({195904, 195904 + 1999, 195904 + 2000}), (std::vector<int>{32, 32, 255}));
    EXPECT_EQ(poolbytes({195904 + 2048, 195904 + 2048 + 1999, 195904 + 2048 + 2000}), (std::vector<int>{0xF0, 0xF0, 255}));
    std::fill(memoryPool.begin(), memoryPool.end(), 255);

    // Records outside the pool or of other depths are left alone.
    windowTable[3] = windowAt(16777000, 24, 1280, 800);  // would run past the pool's end
    windowTable[4] = windowAt(-50, 8, 64, 64);
    windowTable[5] = windowAt(300000, 12, 64, 64);
    t_Window text = windowAt(400000, 8, 8, 8);
    std::tie(text.TextWidth, text.TextHeight, text.TextMemoryStart, text.TextMemoryEnd) = std::tuple(100, 100, 500000, 500000 + 1023);
    windowTable[6] = text;  // its planes are too small for the screen
    for (uint8_t n : {3, 4, 5, 6, 8, 200, 255}) t_ClearWindowMemory(n);
    // Only window 6's own 64 pixels are cleared; its text planes are refused.
    EXPECT_EQ(std::count(memoryPool.begin(), memoryPool.end(), 255), memoryPoolSize - 64);
    EXPECT_EQ(poolbytes({400000, 500000}), (std::vector<int>{0, 255}));
}
