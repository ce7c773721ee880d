// Glyphs at every depth, colours, inverse text, refusals, display modes and escapes.
#include "text/glyph_drawing.h"
#include "window_test_support.h"
#include "windows/window_lookup.h"

#include <QWidget>

namespace {

// Cells of 4 x 2 pixels; glyph 1 holds the grey values 0, 127, 128, 255 / 255, 0, 64, 200.
t_Font greyFont()
{
    t_Font font = cellfont(4, 2, 256 * 8);
    const uint8_t glyph[8] = {0, 127, 128, 255, 255, 0, 64, 200};
    std::copy(glyph, glyph + 8, font.Data.begin() + 8);
    return font;
}

class GlyphDrawing : public ::testing::Test {
protected:
    void SetUp() override { resetwindows(); }
    void TearDown() override
    {
        windowobject(1)->hide();
        resetwindows();
    }

    // Window 1 of 64 x 32 pixels at `depth` with the grey font: 16 x 16 cells.
    static const t_Window& greyWindow(int64_t depth)
    {
        t_InitWindow(1, depth, false, 64, 32, 0, 0, greyFont(), true);
        return windowTable[1];
    }

    static uint8_t byteAt(int64_t offset) { return memoryPool[windowTable[1].MemoryStart + offset]; }
};

}  // namespace

TEST_F(GlyphDrawing, ColourBlendAndInverseAtTwentyFourBits)
{
    greyWindow(24);
    t_PrintSymbol(1, 1, 192, 1, 1);  // green ink on black paper
    EXPECT_EQ(byteAt(0), 0);
    EXPECT_EQ(byteAt(1), 0);  // grey 0: paper only
    EXPECT_EQ(byteAt(3 * 3 + 1), 255);  // grey 255: ink only
    EXPECT_EQ(byteAt(2 * 3 + 1), 128);  // 127 × 0 / 255 + 128 × 255 / 255
    EXPECT_EQ(cellcolour(1, 1, 1), 192);
    EXPECT_EQ(cellcode(1, 1, 1), 1);
    windowTable[1].TextInverse = true;
    t_PrintSymbol(1, 1, 192, 2, 1);
    EXPECT_EQ(byteAt(4 * 3 + 1), 255);  // grey 0 now shows the green paper
    EXPECT_EQ(byteAt(7 * 3 + 1), 0);
    EXPECT_EQ(cellcolour(1, 2, 1), 12);
}

TEST_F(GlyphDrawing, OneBitThresholdAndGrey)
{
    greyWindow(1);
    t_PrintSymbol(1, 1, 240, 1, 1);  // white on black: grey 128 is set, 127 is not
    EXPECT_EQ(byteAt(0), 0b00110000);
    t_PrintSymbol(1, 1, 192, 3, 1);  // green ink: full ink has a mean of 85 and stays clear
    EXPECT_EQ(byteAt(1), 0);
    greyWindow(8);
    t_PrintSymbol(1, 1, 192, 1, 1);
    EXPECT_EQ(byteAt(3), 85);
    EXPECT_EQ(byteAt(2), 128 * 85 / 255);
}

TEST_F(GlyphDrawing, SixteenAndThirtyTwoBitsLeaveTheirFirstBytes)
{
    greyWindow(16);
    std::fill(memoryPool.begin() + windowTable[1].MemoryStart, memoryPool.begin() + windowTable[1].MemoryEnd + 1, 0xEE);
    t_PrintSymbol(1, 1, 0xF0, 1, 1);
    for (int pixel = 0; pixel < 4; ++pixel) EXPECT_EQ(byteAt(2 * pixel), 0xEE);
    EXPECT_EQ(byteAt(7), 255);
    greyWindow(32);
    t_PrintSymbol(1, 1, 0xF0, 1, 1);
    EXPECT_EQ(byteAt(12), 255);  // cleared alpha stays
    EXPECT_EQ(byteAt(13), 255);
    EXPECT_EQ(byteAt(1), 0);
}

TEST_F(GlyphDrawing, FourBitsTakeTheNearestPaletteEntry)
{
    EXPECT_EQ(fourbitindex(0, 0, 0), 0);
    EXPECT_EQ(fourbitindex(63, 63, 63), 0);
    EXPECT_EQ(fourbitindex(64, 64, 64), 5);
    EXPECT_EQ(fourbitindex(128, 128, 128), 10);
    EXPECT_EQ(fourbitindex(192, 192, 192), 15);
    EXPECT_EQ(fourbitindex(255, 0, 0), 1);
    EXPECT_EQ(fourbitindex(0, 120, 250), 7);
    greyWindow(4);
    t_PrintSymbol(1, 1, 0x10, 1, 1);  // red ink on black paper
    EXPECT_EQ(byteAt(0), 0x08);  // grey 0: black; grey 127: (127, 0, 0) is nearest to brown
    EXPECT_EQ(byteAt(1), 0x81);  // grey 128: brown; full ink: red
}

TEST_F(GlyphDrawing, RefusalsNeverWriteOutsideTheWindow)
{
    greyWindow(24);
    std::vector<uint8_t> before(memoryPool.begin(), memoryPool.end());
    for (auto [x, y] : {std::pair<int64_t, int64_t>{0, 1}, {1, 0}, {17, 1}, {1, 17}, {INT64_MAX, 1}, {-5, INT64_MIN}}) {
        auto lines = loglines([&, x = x, y = y] { t_PrintSymbol(1, 65, 192, x, y); });
        EXPECT_EQ(lines, std::vector<std::string>{"t_PrintSymbol: Window #1 illegal coordinates (x = " +
                                                  std::to_string(x) + ", y = " + std::to_string(y) + ")."});
    }
    t_Font shortFont = greyFont();
    shortFont.Data.resize(100);  // glyphs 13 and above are missing
    t_WindowFont(1, shortFont);
    EXPECT_EQ(loglines([] { t_PrintSymbol(1, 65, 192, 1, 1); }).size(), 1u);
    t_Font tiny = cellfont(2, 1, 256 * 2);  // smaller cells than the screen was made for
    t_WindowFont(1, tiny);
    EXPECT_EQ(loglines([] { t_PrintSymbol(1, 65, 192, 30, 1); }).size(), 1u);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), memoryPool.begin()));
    EXPECT_EQ(loglines([] { t_PrintSymbol(8, 65, 192, 1, 1); }),
              std::vector<std::string>{"t_PrintSymbol: Window is not a graphic window."});
}

TEST_F(GlyphDrawing, UnprintableFontsStillRecordTheCell)
{
    greyWindow(24);
    t_Font other = greyFont();
    other.Format = 0;
    t_WindowFont(1, other);
    EXPECT_EQ(loglines([] { t_PrintSymbol(1, 66, 192, 2, 2); }),
              std::vector<std::string>{"t_PrintSymbol: Font format must be uncompressed grey for text-printing."});
    other.Format = 7;
    t_WindowFont(1, other);
    EXPECT_EQ(loglines([] { t_PrintSymbol(1, 67, 192, 3, 2); }),
              std::vector<std::string>{"t_PrintSymbol: Illegal font format."});
    EXPECT_EQ(cellcode(1, 2, 2), 66);
    EXPECT_EQ(cellcode(1, 3, 2), 67);
}

TEST_F(GlyphDrawing, RedirectedOutputGoesToStandardOutput)
{
    greyWindow(24);
    std::vector<uint8_t> before = graphicmemory(1);
    t_RedirectOutput(1, 2);
    testing::internal::CaptureStdout();
    t_PrintSymbol(1, 'A', 192, 1, 1);
    t_PrintSymbol(1, 0xE4, 192, 2, 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "A\xC3\xA4");
    t_RedirectOutput(1, 0);
    EXPECT_TRUE(loglines([] { t_PrintSymbol(1, 'B', 192, 1, 1); }).empty());
    EXPECT_EQ(graphicmemory(1), before);
    EXPECT_EQ(cellcode(1, 1, 1), 32);
}

TEST_F(GlyphDrawing, DisplayModesMapCodes)
{
    greyWindow(24);
    t_DisplayMode(1, 1);
    EXPECT_EQ(t_ApplyDisplayMode(1, 65).code, 193);
    t_DisplayMode(1, 2);
    EXPECT_EQ(t_ApplyDisplayMode(1, 65).code, 1);
    EXPECT_EQ(t_ApplyDisplayMode(1, 97).code, 129);
    t_DisplayMode(1, 3);
    t_DisplayModeResult inverse = t_ApplyDisplayMode(1, 1);
    EXPECT_EQ(inverse.code, 65);
    EXPECT_TRUE(windowTable[1].TextInverse);
    EXPECT_FALSE(inverse.inverse);  // the caller puts the old flag back
    t_DisplayMode(1, 4);
    t_DisplayModeResult red = t_ApplyDisplayMode(1, 2);
    EXPECT_EQ(red.code, 66);
    EXPECT_EQ(windowTable[1].TextColor >> 4, 1);
    EXPECT_EQ(red.colour, 192);
    EXPECT_EQ(t_ApplyDisplayMode(9, 65).code, -2);
}

TEST_F(GlyphDrawing, EscapesSetColoursAndTheBorder)
{
    greyWindow(24);
    t_Print(1, "\x1b" "D");
    EXPECT_EQ(windowTable[1].TextColor, 0x40);
    EXPECT_EQ(windowTable[1].TextHpos, 1);  // nothing printed
    t_Print(1, "\x1b" "Z");
    EXPECT_EQ(windowTable[1].TextColor, 0x4A);
    t_Print(1, "\x1b" "A\x1b" "x");
    EXPECT_EQ(windowTable[1].TextColor, 0x1A);
    EXPECT_EQ(windowTable[1].RGBColorBorder, palettecolor(10));
    t_Print(1, std::string("\x1b") + char(127));
    EXPECT_EQ(windowTable[1].RGBColorBorder, palettecolor(1));
    t_Print(1, "\x1bg");  // no parameter: drawn, the escape stays pending
    EXPECT_EQ(cellcode(1, 1, 1), 'g');
    EXPECT_EQ(windowTable[1].TextDisplayMode, 99);
    t_Print(1, "\x1b");  // taken as a parameter and drawn too
    EXPECT_EQ(cellcode(1, 2, 1), 27);
    t_Print(1, "F");
    EXPECT_EQ(windowTable[1].TextDisplayMode, 0);
}

TEST_F(GlyphDrawing, EscapeTabStopsOnTheProgramScreen)
{
    t_InitWindow(1, 8, 80, 25, 0, "MenloBold 16x32.font");
    const t_Window& w = windowTable[1];
    t_Print(1, "\x1bi");
    EXPECT_EQ(w.TextHpos, 11);
    t_Htab(1, 10);
    t_Print(1, "\x1bi");
    EXPECT_EQ(w.TextHpos, 21);
    t_Htab(1, 75);
    t_Print(1, "ABCDE");
    t_Htab(1, 77);
    t_Print(1, "\x1bi");  // the stop, column 81, lies beyond the screen
    EXPECT_EQ(w.TextHpos, 1);
    EXPECT_EQ(w.TextVpos, 2);
    EXPECT_EQ(cellcode(1, 76, 1), 'B');
    EXPECT_EQ(cellcode(1, 77, 1), 32);  // the rest of the line is cleared
    EXPECT_EQ(cellcode(1, 79, 1), 32);
    t_Print(1, "\x1bk");
    EXPECT_EQ(w.TextHpos, 41);
    t_Print(1, "\x1b" "f");
    EXPECT_EQ(w.TextHpos, 80);
    t_Print(1, "\x1b" "e");
    EXPECT_EQ(w.TextVpos, 25);
}
