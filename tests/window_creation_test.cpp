// Window creation: memory layout, checks and corrections, creating again, and the log.
#include "app/app_delegate.h"
#include "platform/widgets.h"
#include "window_test_support.h"
#include "windows/window_lookup.h"

#include <QMainWindow>
#include <QWidget>

namespace {

class WindowCreation : public ::testing::Test {
protected:
    void SetUp() override { resetwindows(); }
    void TearDown() override
    {
        for (QWidget* window : {windowobject(0), windowobject(1), windowobject(2)}) window->hide();
        resetwindows();
    }
};

const t_Window& record(uint8_t n)
{
    return windowTable[n];
}

}  // namespace

TEST_F(WindowCreation, ProgramWindowLayout)
{
    auto lines = loglines([] { t_InitWindow(0, 24, 80, 25, 16, "MenloBold 16x32.font"); });
    const t_Window& w = record(0);
    ASSERT_TRUE(w.Initialized);
    EXPECT_EQ(w.Width, 1280);
    EXPECT_EQ(w.Height, 800);
    EXPECT_EQ(w.MemoryStart, 13705216);
    EXPECT_EQ(w.MemoryEnd, 16777215);
    EXPECT_EQ(w.TextMemoryStart, 13701120);
    EXPECT_EQ(w.TextMemoryEnd, 13705215);
    EXPECT_EQ(highMemory.load(), 13701119);
    EXPECT_EQ(w.TextWidth, 80);
    EXPECT_EQ(w.TextHeight, 25);
    EXPECT_EQ(w.TextColor, 0xC0);
    EXPECT_EQ(w.TextHpos, 1);
    EXPECT_TRUE(w.QuickUpdate);
    EXPECT_TRUE(w.AutoUpdate);
    EXPECT_EQ(w.TitleHeight, sideWindowChromeHeight.load());
    EXPECT_EQ(w.RGBColorBorder, palettecolor(5));
    EXPECT_EQ(w.Font.Width, 16);
    EXPECT_EQ(w.View, windowview(0));
    EXPECT_EQ(w.Window, windowobject(0));
    EXPECT_EQ(t_FirstWindow.load(), 0);
    const std::vector<std::string> expected = {
        "t_InitWindow: GraphicWindow #0 Start.",
        "t_InitWindow: GraphicWindow #0 = 1280 x 800 pixel x 24 bit = 3.000,00K video-memory = $00D12000.",
        "t_InitWindow: GraphicWindow #0 End."};
    EXPECT_EQ(lines, expected);
    // Graphic memory is cleared to black, text memory to blanks in the window's colours.
    EXPECT_EQ(memoryPool[13705216], 0);
    EXPECT_EQ(memoryPool[16777215], 0);
    EXPECT_EQ(memoryPool[13701120], 32);
    EXPECT_EQ(memoryPool[13701120 + 2048], 0xC0);
    EXPECT_EQ(windowobject(0)->windowTitle().toStdString(), "Calvotrimex");
    t_Rect frame = widgetframe(windowobject(0));
    EXPECT_EQ(frame.width, 1312);
    EXPECT_EQ(frame.height, 832 + sideWindowChromeHeight);
    EXPECT_EQ(windowview(0)->geometry(), QRect(16, 16, 1280, 800));
}

TEST_F(WindowCreation, CreatingAgainMovesTheLaterBlocksUp)
{
    t_InitWindow(0, 24, 80, 25, 16, "MenloBold 16x32.font");
    t_InitWindow(1, 8, false, 640, 384, 8, 8, cellfont(16, 32), true);
    const int64_t oldStart1 = record(1).MemoryStart, oldText1 = record(1).TextMemoryStart;
    memoryPool[oldStart1] = 77;
    memoryPool[oldText1] = 'Q';
    const int64_t size0 = 3072000 + 4096;

    auto lines = loglines([] { t_InitWindow(0, 24, 80, 25, 16, "MenloBold 16x32.font"); });
    EXPECT_TRUE(haslogline(lines, "t_InitWindow: GraphicWindow #0 high memory = $00FFFFFF, graphic block size to delete = $002EE000."));
    EXPECT_TRUE(haslogline(lines, "t_InitWindow: GraphicWindow #0 high memory = $00FFFFFF, text block size to delete = $00001000."));
    int moves = 0;
    for (const std::string& line : lines) moves += line.find(" moving ") != std::string::npos;
    EXPECT_EQ(moves, 2);
    EXPECT_TRUE(haslogline(lines, "t_InitWindow: GraphicWindow #0 moving graphic block for win #1$" + hexstring(oldStart1) + "..." +
                                      hexstring(record(1).MemoryEnd - size0) + " to " + hexstring(oldStart1 + size0) +
                                      "..." + hexstring(record(1).MemoryEnd)));
    EXPECT_EQ(record(1).MemoryStart, oldStart1 + size0);
    EXPECT_EQ(record(1).TextMemoryStart, oldText1 + size0);
    EXPECT_EQ(record(1).MemoryEnd, memoryTop);
    EXPECT_EQ(memoryPool[record(1).MemoryStart], 77);
    EXPECT_EQ(memoryPool[record(1).TextMemoryStart], 'Q');
    // Window 0's new blocks lie directly below window 1's.
    EXPECT_EQ(record(0).MemoryEnd, record(1).TextMemoryStart - 1);
    EXPECT_EQ(record(0).TextMemoryEnd, record(0).MemoryStart - 1);
    EXPECT_EQ(highMemory.load(), record(0).TextMemoryStart - 1);
}

TEST_F(WindowCreation, SizesAndWidthsAreCorrected)
{
    struct Case {
        int64_t depth, width, expectedWidth;
        const char* line;
    };
    const Case cases[] = {
        {24, 20, 1280, "t_InitWindow: GraphicWindow #2 cannot display 20 horizontal pixel."},
        {24, 9000, 1280, "t_InitWindow: GraphicWindow #2 cannot display 9000 horizontal pixel."},
        {4, 81, 80, "t_InitWindow: GraphicWindow #2 width with 4 bit depth must be a multiple of 4."},
        {4, 83, 84, "t_InitWindow: GraphicWindow #2 width with 4 bit depth must be a multiple of 4."},
        {1, 81, 88, "t_InitWindow: GraphicWindow #2 width with 1 bit depth must be a multiple of 8."},
    };
    for (const Case& c : cases) {
        auto lines = loglines([&] { t_InitWindow(2, c.depth, false, c.width, 64, 0, 0, t_Font{}, true); });
        EXPECT_TRUE(haslogline(lines, c.line)) << c.width;
        EXPECT_EQ(record(2).Width, c.expectedWidth);
        EXPECT_TRUE(record(2).Initialized);
    }
    auto lines = loglines([] { t_InitWindow(2, 8, false, 64, 10, 0, 0, t_Font{}, true); });
    EXPECT_TRUE(haslogline(lines, "t_InitWindow: GraphicWindow #2 cannot display 10 vertical pixel."));
    EXPECT_EQ(record(2).Height, 800);
    // Without a font the window has no text screen, and its title says so.
    EXPECT_EQ(record(2).TextWidth, -1);
    EXPECT_EQ(record(2).TextMemoryStart, -1);
    EXPECT_EQ(windowobject(2)->windowTitle().toStdString(), "Calvotrimex-Grafik");
}

TEST_F(WindowCreation, RefusalsLeaveNoWindow)
{
    for (int64_t depth : {2, 12, 64}) {
        auto lines = loglines([&] { t_InitWindow(1, depth, false, 64, 64, 0, 0, t_Font{}, true); });
        EXPECT_TRUE(haslogline(lines, "t_InitWindow: GraphicWindow #1 unsupported " + std::to_string(depth) + " bit depth."));
        EXPECT_FALSE(haslogline(lines, "t_InitWindow: GraphicWindow #1 End."));
        EXPECT_FALSE(record(1).Initialized);
    }
    auto graphic = loglines([] { t_InitWindow(1, 32, false, 8192, 8192, 0, 0, t_Font{}, true); });
    EXPECT_TRUE(haslogline(graphic, "t_InitWindow: GraphicWindow #1 has not enough graphic-video-memory (16319K available)."));
    EXPECT_TRUE(haslogline(graphic, "t_InitWindow: Displaying 8192 x 8192 pixel x 32 bit needs 262.144,00K video-memory."));
    // Cells of 4 x 3 pixels: the text block alone fits, but not below the graphic block.
    auto text = loglines([] { t_InitWindow(1, 1, false, 8192, 8192, 0, 0, cellfont(4, 3), true); });
    EXPECT_TRUE(haslogline(text, "t_InitWindow: GraphicWindow #1 has not enough text-video-memory (16319K available)."));
    EXPECT_TRUE(haslogline(text, "t_InitWindow: Displaying 2048 x 2730 characters needs 10.920,00K text-video-memory."));
    EXPECT_FALSE(record(1).Initialized);
    EXPECT_EQ(highMemory.load(), memoryTop);

    EXPECT_EQ(loglines([] { t_InitWindow(9, 24, 80, 25, 16, "MenloBold 16x32.font"); }),
              std::vector<std::string>{"t_InitWindow: Window is not a graphic window."});
    auto missing = loglines([] { t_InitWindow(1, 24, 80, 25, 16, "Missing.font"); });
    EXPECT_EQ(missing.back(), "t_InitWindow: Font 'Missing.font' not found.");
    EXPECT_FALSE(record(1).Initialized);
}

TEST_F(WindowCreation, HugeCellCountsAreRefusedNotOverflowed)
{
    auto lines = loglines([] { t_InitWindow(1, 24, INT64_MAX / 3, -INT64_MAX / 5, 0, "MenloBold 16x32.font"); });
    EXPECT_TRUE(haslogline(lines, "t_InitWindow: GraphicWindow #1 cannot display 9223372036854775807 horizontal pixel."));
    EXPECT_TRUE(haslogline(lines, "t_InitWindow: GraphicWindow #1 cannot display -9223372036854775808 vertical pixel."));
    EXPECT_EQ(record(1).Width, 1280);
    EXPECT_EQ(record(1).Height, 800);
}

TEST_F(WindowCreation, WindowWithoutViewIsNotInitialized)
{
    AppDelegate full = appDelegate();
    appDelegate().t_View03 = nullptr;
    auto lines = loglines([] { t_InitWindow(3, 8, false, 64, 64, 0, 0, t_Font{}, true); });
    appDelegate() = full;
    EXPECT_TRUE(haslogline(lines, "t_InitWindow: GraphicWindow #3 could not be initialized, resource undefined."));
    EXPECT_EQ(lines.back(), "t_InitWindow: GraphicWindow #3 End.");
    EXPECT_FALSE(record(3).Initialized);
    EXPECT_EQ(record(3).MemoryEnd, memoryTop);  // its block stays taken
    EXPECT_EQ(highMemory.load(), memoryTop - 4096);
}
