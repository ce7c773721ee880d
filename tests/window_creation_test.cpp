// Window creation: memory layout, checks and corrections, creating again, and the log.
#include "app/app_delegate.h"
#include "platform/widgets.h"
#include "window_test_support.h"

using WindowCreation = WindowTest;

TEST_F(WindowCreation, ProgramWindowLayout)
{
    auto lines = loglines([] { t_InitWindow(0, 24, 80, 25, 16, "MenloBold 16x32.font"); });
    EXPECT_EQ(lines, (Lines{"t_InitWindow: GraphicWindow #0 Start.",
                            "t_InitWindow: GraphicWindow #0 = 1280 x 800 pixel x 24 bit = 3.000,00K video-memory = $00D12000.",
                            "t_InitWindow: GraphicWindow #0 End."}));
    const t_Window& w = windowTable[0];
    ASSERT_TRUE(w.Initialized);
    EXPECT_EQ(std::tuple(w.Width, w.Height, w.TextWidth, w.TextHeight, int(w.TextColor), w.TextHpos, w.Font.Width),
              std::tuple(1280, 800, 80, 25, 0xC0, 1, 16));
    EXPECT_EQ(std::tuple(w.MemoryStart, w.MemoryEnd, w.TextMemoryStart, w.TextMemoryEnd, highMemory.load()),
              std::tuple(13705216, 16777215, 13701120, 13705215, 13701119));
    EXPECT_EQ(std::tuple(w.TitleHeight, w.RGBColorBorder, w.View, w.Window, int(t_FirstWindow)),
              std::tuple(sideWindowChromeHeight.load(), palettecolor(5), windowview(0), windowobject(0), 0));
    EXPECT_EQ(windowobject(0)->windowTitle().toStdString(), "Calvotrimex");
}

TEST_F(WindowCreation, SizesAndWidthsAreCorrected)
{
    const std::tuple<int64_t, int64_t, int64_t, int64_t, const char*> cases[] = {
        {24, 20, 64, 1280, "cannot display 20 horizontal pixel."},
        {24, 9000, 64, 1280, "cannot display 9000 horizontal pixel."},
        {4, 81, 64, 80, "width with 4 bit depth must be a multiple of 4."},
        {4, 83, 64, 84, "width with 4 bit depth must be a multiple of 4."},
        {1, 81, 64, 88, "width with 1 bit depth must be a multiple of 8."},
        {8, 64, 10, 64, "cannot display 10 vertical pixel."},
        // Kilobytes are whole: 200 and 1600 bytes.
        {1, 40, 40, 40, "= 40 x 40 pixel x 1 bit = 0,00K video-memory = $00FFFC00."},
        {8, 40, 40, 40, "= 40 x 40 pixel x 8 bit = 1,00K video-memory = $00FFF800."},
    };
    for (const auto& [depth, width, height, expectedWidth, line] : cases) {
        auto lines = loglines([depth = depth, width = width, height = height] { t_InitWindow(2, depth, false, width, height, 0, 0, t_Font{}, true); });
        EXPECT_TRUE(haslogline(lines, std::string("t_InitWindow: GraphicWindow #2 ") + line)) << line;
        const t_Window& w = windowTable[2];
        EXPECT_EQ(std::tuple(w.Width, w.Height, w.Initialized), std::tuple(expectedWidth, height == 10 ? 800 : height, true));
    }
    // Without a font the window has no text screen, and its title says so.
    EXPECT_EQ(std::tuple(windowTable[2].TextWidth, windowTable[2].TextMemoryStart), std::tuple(-1, -1));
    EXPECT_EQ(windowobject(2)->windowTitle().toStdString(), "Calvotrimex-Grafik");
    // Cell counts whose pixels overflow are refused, not wrapped around.
    auto lines = loglines([] { t_InitWindow(1, 24, INT64_MAX / 3, -INT64_MAX / 5, 0, "MenloBold 16x32.font"); });
    EXPECT_TRUE(haslogline(lines, "t_InitWindow: GraphicWindow #1 cannot display 9223372036854775807 horizontal pixel."));
    EXPECT_TRUE(haslogline(lines, "t_InitWindow: GraphicWindow #1 cannot display -9223372036854775808 vertical pixel."));
    EXPECT_EQ(std::tuple(windowTable[1].Width, windowTable[1].Height), std::tuple(1280, 800));
}

TEST_F(WindowCreation, RefusalsLeaveNoWindow)
{
    for (int64_t depth : {2, 12, 64}) {
        auto lines = loglines([&] { t_InitWindow(1, depth, false, 64, 64, 0, 0, t_Font{}, true); });
        EXPECT_TRUE(haslogline(lines, "t_InitWindow: GraphicWindow #1 unsupported " + std::to_string(depth) + " bit depth."));
        EXPECT_FALSE(haslogline(lines, "t_InitWindow: GraphicWindow #1 End.") || windowTable[1].Initialized);
    }
    auto graphic = loglines([] { t_InitWindow(1, 32, false, 8192, 8192, 0, 0, t_Font{}, true); });
    EXPECT_TRUE(haslogline(graphic, "t_InitWindow: GraphicWindow #1 has not enough graphic-video-memory (16319K available)."));
    EXPECT_TRUE(haslogline(graphic, "t_InitWindow: Displaying 8192 x 8192 pixel x 32 bit needs 262.144,00K video-memory."));
    // Cells of 4 x 3 pixels: the text block alone fits, but not below the graphic block.
    auto text = loglines([] { t_InitWindow(1, 1, false, 8192, 8192, 0, 0, cellfont(4, 3), true); });
    EXPECT_TRUE(haslogline(text, "t_InitWindow: GraphicWindow #1 has not enough text-video-memory (16319K available)."));
    EXPECT_TRUE(haslogline(text, "t_InitWindow: Displaying 2048 x 2730 characters needs 10.920,00K text-video-memory."));
    EXPECT_EQ(std::tuple(windowTable[1].Initialized, highMemory.load()), std::tuple(false, memoryTop));
    EXPECT_EQ(loglines([] { t_InitWindow(9, 24, 80, 25, 16, "MenloBold 16x32.font"); }),
              Lines{"t_InitWindow: Window is not a graphic window."});
    auto missing = loglines([] { t_InitWindow(1, 24, 80, 25, 16, "Missing.font"); });
    EXPECT_EQ(missing.back(), "t_InitWindow: Font 'Missing.font' not found.");
    EXPECT_FALSE(windowTable[1].Initialized);

    // A window without its view is not initialized, but its block stays taken.
    AppDelegate full = appDelegate();
    appDelegate().t_View03 = nullptr;
    auto lines = loglines([] { t_InitWindow(3, 8, false, 64, 64, 0, 0, t_Font{}, true); });
    appDelegate() = full;
    EXPECT_TRUE(haslogline(lines, "t_InitWindow: GraphicWindow #3 could not be initialized, resource undefined."));
    EXPECT_EQ(lines.back(), "t_InitWindow: GraphicWindow #3 End.");
    EXPECT_FALSE(windowTable[3].Initialized);
    EXPECT_EQ(windowTable[3].MemoryEnd, memoryTop);
    EXPECT_EQ(highMemory.load(), memoryTop - 4096);
}

TEST_F(WindowCreation, FontCellsOfAnySizeKeepEveryBlockInsideThePool)
{
    // Cells without pixels or of negative size give a graphic window without a text screen.
    for (auto [width, height] : {std::pair<int64_t, int64_t>{-16, 32}, {16, -32}, {-16, -32}, {0, 32}, {INT64_MIN, 1}}) {
        t_InitWindow(0, 24, false, 1280, 800, 0, 0, cellfont(width, height), true);
        const t_Window& w = windowTable[0];
        EXPECT_EQ(std::tuple(w.Initialized, w.TextMemoryStart, highMemory.load()),
                  std::tuple(true, -1, memoryTop - 3072000)) << width << " x " << height;
        EXPECT_EQ(w.TextWidth * w.TextHeight, 0);
        EXPECT_EQ(loglines([] { t_Print(0, "x"); }), Lines{"t_Print: Window #0 not initialized."});
    }
    // The next window lies inside the pool, and creating window 0 again moves it up.
    t_InitWindow(1, 24, 10, 4, 0, "MenloBold 16x32.font");
    t_Print(1, "ok");
    t_InitWindow(0, 24, false, 1280, 800, 0, 0, cellfont(-16, -32), true);
    const t_Window& w1 = windowTable[1];
    EXPECT_EQ(std::tuple(w1.MemoryEnd, w1.TextMemoryEnd + 1), std::tuple(memoryTop, w1.MemoryStart));
    EXPECT_EQ(std::tuple(cellcode(1, 1, 1), cellcode(1, 2, 1)), std::tuple('o', 'k'));
}

TEST_F(WindowCreation, CreatingAgainBetweenOthersAndFailingGivesTheMemoryBack)
{
    const t_Window &w0 = windowTable[0], &w1 = windowTable[1], &w2 = windowTable[2];
    for (uint8_t n : {0, 1, 2}) t_InitWindow(n, 8, false, 64, 64, 0, 0, cellfont(8, 8), true);  // 4096 + 1024 bytes each
    const int64_t start0 = w0.MemoryStart, start2 = w2.MemoryStart;
    memoryPool[start2] = 77;
    // Window 1 again with a depth it cannot have: its blocks are given back, only window 2 moves,
    // and window 0 stays.
    Lines lines = loglines([] { t_InitWindow(1, 3, false, 64, 64, 0, 0, cellfont(8, 8), true); });
    EXPECT_EQ(Lines(lines.begin() + 1, lines.begin() + 6), (Lines{
        "t_InitWindow: GraphicWindow #1 high memory = $00FFEBFF, graphic block size to delete = $00001000.",
        "t_InitWindow: GraphicWindow #1 high memory = $00FFEBFF, text block size to delete = $00000400.",
        "t_InitWindow: GraphicWindow #1 moving graphic block for win #2$00FFC800...00FFD7FF to 00FFDC00...00FFEBFF",
        "t_InitWindow: GraphicWindow #1 moving text block for win #2$00FFC400...00FFC7FF to $00FFD800...00FFDBFF",
        "t_InitWindow: GraphicWindow #1 unsupported 3 bit depth."}));
    EXPECT_EQ(std::tuple(w0.MemoryStart, w1.Initialized, w2.MemoryStart, memoryPool[w2.MemoryStart]),
              std::tuple(start0, false, start2 + 5120, 77));
    EXPECT_EQ(highMemory.load(), w2.TextMemoryStart - 1);
    t_InitWindow(1, 8, false, 64, 64, 0, 0, cellfont(8, 8), true);
    EXPECT_EQ(std::tuple(w1.Initialized, w1.MemoryEnd), std::tuple(true, w2.TextMemoryStart - 1));
    // Without a title, and with negative borders that fill the screen around the picture.
    auto untitled = loglines([] { t_InitWindow(3, 8, false, 64, 48, -1, INT64_MIN, t_Font{}, false); });
    EXPECT_TRUE(haslogline(untitled, "t_InitWindow: GraphicWindow #3 title will be invisible."));
    const t_Window& w3 = windowTable[3];
    EXPECT_EQ(std::tuple(w3.TitleHeight, w3.BorderWidth, w3.BorderHeight),
              std::tuple(0, t_WindowPos(3, 15) - 64, t_WindowPos(3, 16) - 48));
}

TEST_F(WindowCreation, CreatingAgainKeepsTheOtherWindowsContents)
{
    // Window 1 lies below window 2 when they were created 0, 2, 1, or 0, 1, 2 and then 1 again;
    // creating the window at the top again moves both up, and neither may take the other's bytes.
    const std::vector<uint8_t> orders[] = {{0, 1, 2, 1, 0}, {0, 2, 1, 0}};
    for (const auto& order : orders) {
        resetwindows();
        auto create = [](uint8_t n) { t_InitWindow(n, 8, 4, 2, 0, "MenloBold 16x32.font"); };  // 4096 + 1024 bytes
        std::for_each(order.begin(), order.end() - 1, create);
        t_Print(1, "EINS");
        t_Print(2, "ZWEI");
        std::fill_n(&memoryPool[windowTable[1].MemoryStart], 4096, 11);
        std::fill_n(&memoryPool[windowTable[2].MemoryStart], 4096, 22);
        auto lines = loglines([&] { create(order.back()); });
        std::string text1, text2;
        for (int64_t column = 1; column <= 4; ++column) {
            text1 += static_cast<char>(cellcode(1, column, 1));
            text2 += static_cast<char>(cellcode(2, column, 1));
        }
        const t_Window &w1 = windowTable[1], &w2 = windowTable[2];
        const auto bytes1 = std::count(&memoryPool[w1.MemoryStart], &memoryPool[w1.MemoryEnd] + 1, 11);
        const auto bytes2 = std::count(&memoryPool[w2.MemoryStart], &memoryPool[w2.MemoryEnd] + 1, 22);
        EXPECT_EQ(std::tuple(text1, text2, bytes1, bytes2), std::tuple("EINS", "ZWEI", 4096, 4096)) << order.size();
        // The lines name the moved windows in number order.
        Lines moves;
        for (const auto& line : lines)
            if (line.find(" moving ") != line.npos) moves.push_back(line.substr(line.find("win #"), 6));
        EXPECT_EQ(moves, (Lines{"win #1", "win #1", "win #2", "win #2"})) << order.size();
    }
}
