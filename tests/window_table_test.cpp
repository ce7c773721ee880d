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
    t_Window w;
    w.Initialized = true;
    w.BitDepth = depth;
    w.Width = width;
    w.Height = height;
    w.MemoryStart = start;
    w.MemoryEnd = start + height * bytesperrow(depth, width) - 1;
    return w;
}

}  // namespace

TEST_F(WindowTable, PoolAndTableAfterInitialisation)
{
    EXPECT_TRUE(memoryInitStarted);
    EXPECT_TRUE(memoryInitialized);
    ASSERT_EQ(memoryPool.size(), 16777231u);
    EXPECT_TRUE(std::all_of(memoryPool.begin(), memoryPool.end(), [](uint8_t b) { return b == 255; }));
    EXPECT_EQ(highMemory.load(), 16777215);
    ASSERT_EQ(windowTable.size(), 8u);
    const t_Window& w = windowTable[3];
    EXPECT_FALSE(w.Initialized);
    EXPECT_TRUE(w.VerticalBlank);
    EXPECT_EQ(w.RefreshRate, 30);
    EXPECT_EQ(w.MemoryStart, -1);
    EXPECT_EQ(w.MemoryEnd, -1);
    EXPECT_EQ(w.TextMemoryStart, -1);
    EXPECT_EQ(w.TextMemoryEnd, -1);
    EXPECT_EQ(w.TextRedirectOutput, 1);
    EXPECT_EQ(w.RGBColorBorder, (t_RGBColor{255, 0, 0, 0}));
    EXPECT_EQ(w.Font.HeaderSize, 16);
    EXPECT_EQ(w.Font.Identifier, (std::vector<uint8_t>{'v', 'x', 'f', 'n'}));
    EXPECT_TRUE(w.Font.Data.empty());
    EXPECT_EQ(w.Window, nullptr);
    EXPECT_EQ(w.View, nullptr);
}

TEST_F(WindowTable, SecondInitialisationDoesNothing)
{
    memoryPool[70000] = 7;
    testing::internal::CaptureStdout();
    t_InitMemory();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(memoryPool[70000], 7);
}

TEST_F(WindowTable, BytesPerRowAtEveryDepth)
{
    EXPECT_EQ(bytesperrow(1, 1280), 160);
    EXPECT_EQ(bytesperrow(4, 1280), 640);
    EXPECT_EQ(bytesperrow(8, 1280), 1280);
    EXPECT_EQ(bytesperrow(16, 1280), 2560);
    EXPECT_EQ(bytesperrow(24, 1280), 3840);
    EXPECT_EQ(bytesperrow(32, 1280), 5120);
    EXPECT_EQ(bytesperrow(12, 1280), 0);
}

TEST_F(WindowTable, ClearingGraphicMemoryStaysInsideTheBlock)
{
    const int64_t start = 13705216;
    windowTable[0] = windowAt(start, 24, 1280, 800);
    t_ClearWindowMemory(0);
    EXPECT_EQ(memoryPool[start - 1], 255);
    EXPECT_EQ(memoryPool[start], 0);
    EXPECT_EQ(memoryPool[start + 3071999], 0);
    EXPECT_EQ(memoryPool[start + 3072000], 255);
    EXPECT_EQ(std::count(memoryPool.begin(), memoryPool.end(), 0), 3072000);
}

TEST_F(WindowTable, ClearedThirtyTwoBitPixelsAreOpaqueBlack)
{
    windowTable[1] = windowAt(100000, 32, 8, 2);
    t_ClearWindowMemory(1);
    for (int pixel = 0; pixel < 16; ++pixel) {
        EXPECT_EQ(memoryPool[100000 + pixel * 4], 255);
        EXPECT_EQ(memoryPool[100000 + pixel * 4 + 1], 0);
        EXPECT_EQ(memoryPool[100000 + pixel * 4 + 3], 0);
    }
    EXPECT_EQ(memoryPool[100000 + 64], 255);
}

TEST_F(WindowTable, ClearingTextMemoryFillsBothPlanes)
{
    t_Window w = windowAt(200000, 8, 16, 4);
    w.TextWidth = 80;
    w.TextHeight = 25;
    w.TextMemoryStart = 195904;
    w.TextMemoryEnd = 195904 + 4096 - 1;
    w.TextColor = 0xF0;
    windowTable[2] = w;
    t_ClearWindowMemory(2);
    EXPECT_EQ(memoryPool[195904], 32);
    EXPECT_EQ(memoryPool[195904 + 1999], 32);
    EXPECT_EQ(memoryPool[195904 + 2000], 255);  // between the planes: not used
    EXPECT_EQ(memoryPool[195904 + 2048], 0xF0);
    EXPECT_EQ(memoryPool[195904 + 2048 + 1999], 0xF0);
    EXPECT_EQ(memoryPool[195904 + 2048 + 2000], 255);
}

TEST_F(WindowTable, RecordsOutsideThePoolOrOfOtherDepthsAreLeftAlone)
{
    windowTable[3] = windowAt(16777000, 24, 1280, 800);  // would run past the pool's end
    windowTable[4] = windowAt(-50, 8, 64, 64);
    windowTable[5] = windowAt(300000, 12, 64, 64);
    t_Window text = windowAt(400000, 8, 8, 8);
    text.TextWidth = 100;
    text.TextHeight = 100;
    text.TextMemoryStart = 500000;
    text.TextMemoryEnd = 500000 + 1023;  // planes too small for the screen
    windowTable[6] = text;
    for (uint8_t n : {3, 4, 5, 6, 8, 200, 255}) t_ClearWindowMemory(n);
    // Only window 6's own 64 pixels are cleared; its text planes are refused.
    EXPECT_EQ(std::count(memoryPool.begin(), memoryPool.end(), 255), memoryPoolSize - 64);
    EXPECT_EQ(memoryPool[400000], 0);
    EXPECT_EQ(memoryPool[500000], 255);
}
