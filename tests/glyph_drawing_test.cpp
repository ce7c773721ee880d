// Glyphs at every depth, colours, inverse text, refusals, display modes and escapes.
#include "text/glyph_drawing.h"
#include "window_test_support.h"

namespace {

// Cells of 4 x 2 pixels; glyph 1 holds the grey values 0, 127, 128, 255 / 255, 0, 64, 200.
t_Font greyFont()
{
    t_Font font = cellfont(4, 2, 256 * 8);
    std::ranges::copy(std::array<uint8_t, 8>{0, 127, 128, 255, 255, 0, 64, 200}, font.Data.begin() + 8);
    return font;
}

class GlyphDrawing : public WindowTest {
protected:
    // Window 1 of 64 x 32 pixels at `depth` with the grey font: 16 x 16 cells.
    static void greyWindow(int64_t depth) { t_InitWindow(1, depth, false, 64, 32, 0, 0, greyFont(), true); }
};

}  // namespace

// The palette's nearest entries at 4 bits, inverse at 24 bits, and the cell recorded; the
// kept-glyph test below holds every depth to the blending rule.
TEST_F(GlyphDrawing, PaletteAndInverse)
{
    const std::tuple<uint8_t, uint8_t, uint8_t, uint8_t> colours[] = {
        {0, 0, 0, 0}, {63, 63, 63, 0}, {64, 64, 64, 5}, {128, 128, 128, 10}, {192, 192, 192, 15}, {255, 0, 0, 1},
        {0, 120, 250, 7}};
    for (auto [red, green, blue, index] : colours) EXPECT_EQ(fourbitindex(red, green, blue), index) << int(red);
    greyWindow(24);
    windowTable[1].TextInverse = true;
    t_PrintSymbol(1, 1, 192, 2, 1);  // green ink on black paper, inverted
    const uint8_t* cell = &memoryPool[windowTable[1].MemoryStart + 4 * 3];  // grey 0 now shows the green paper
    EXPECT_EQ(std::tuple(cell[1], cell[3 * 3 + 1]), std::tuple(255, 0));
    EXPECT_EQ(std::tuple(cellcode(1, 2, 1), cellcolour(1, 2, 1)), std::tuple(1, 12));
}

namespace {

// Cell (x, y) of window 1 drawn into `memory` (its graphic memory) straight from the rule.
void ruleGlyph(std::vector<uint8_t>& memory, const t_Font& font, uint8_t code, int ink, int paper, int64_t x, int64_t y)
{
    const t_Window& w = windowTable[1];
    const t_RGBColor i = palettecolor(ink), p = palettecolor(paper);
    for (int64_t r = 0; r < font.Height; ++r)
        for (int64_t k = 0; k < font.Width; ++k) {
            const int g = font.Data[(code * font.Height + r) * font.Width + k], gi = 255 - g;
            const int red = gi * p.Red / 255 + g * i.Red / 255, green = gi * p.Green / 255 + g * i.Green / 255,
                      blue = gi * p.Blue / 255 + g * i.Blue / 255;
            const int grey = gi * ((p.Red + p.Green + p.Blue) / 3) / 255 + g * ((i.Red + i.Green + i.Blue) / 3) / 255;
            const int64_t px = font.Width * (x - 1) + k, py = font.Height * (y - 1) + r, n = py * w.Width + px;
            switch (w.BitDepth) {
            case 1: {
                uint8_t& bits = memory[py * w.Width / 8 + px / 8];
                bits = (red + green + blue) / 3 >= 128 ? bits | 0x80 >> px % 8 : bits & ~(0x80 >> px % 8);
                break;
            }
            case 4: {
                uint8_t& nibbles = memory[n / 2];
                const int index = fourbitindex(uint8_t(red), uint8_t(green), uint8_t(blue));
                nibbles = px % 2 == 0 ? (nibbles & 0x0F) | index << 4 : (nibbles & 0xF0) | index;
                break;
            }
            case 8: memory[n] = uint8_t(grey); break;
            case 16: memory[2 * n + 1] = uint8_t(grey); break;
            default: {
                const int64_t size = w.BitDepth / 8, skip = size - 3;
                memory[size * n + skip] = uint8_t(red), memory[size * n + skip + 1] = uint8_t(green);
                memory[size * n + skip + 2] = uint8_t(blue);
            }
            }
        }
}

}  // namespace

// Glyphs are kept drawn per colour pair; what they draw stays what the rule says, also when
// the font's data change under the same cell size, and for cells too large to be kept.
TEST_F(GlyphDrawing, KeptGlyphsDrawWhatTheRuleSays)
{
    uint32_t seed = 7;
    const auto next = [&seed] { return seed = seed * 1103515245 + 12345, seed >> 16; };
    for (int64_t depth : {1, 4, 8, 16, 24, 32}) {
        for (auto [width, height] : {std::pair<int64_t, int64_t>{4, 2}, {40, 30}}) {
            t_Font font = cellfont(width, height, static_cast<size_t>(256 * width * height));
            for (uint8_t& g : font.Data) g = static_cast<uint8_t>(next());
            t_InitWindow(1, depth, false, 80, 60, 0, 0, font, true);
            const t_Window& w = windowTable[1];
            for (int64_t i = w.MemoryStart; i <= w.MemoryEnd; ++i) memoryPool[i] = static_cast<uint8_t>(next());
            std::vector<uint8_t> rule(memoryPool.begin() + w.MemoryStart, memoryPool.begin() + w.MemoryEnd + 1);
            for (int round = 0; round < 300; ++round) {
                if (round % 100 == 99) {  // the same glyphs change: the font's own data, then a new font
                    for (int64_t k = 0; k < width * height; ++k) font.Data[65 * width * height + k] ^= uint8_t(next() | 1);
                    if (round == 99) windowTable[1].Font.Data = font.Data;
                    if (round == 199) t_WindowFont(1, font);
                }
                const uint8_t code = round % 3 == 0 ? 65 : static_cast<uint8_t>(next());
                const int colour = static_cast<int>(next() % 4 * 0x51);  // a few pairs, over and over
                const int64_t x = 1 + next() % w.TextWidth, y = 1 + next() % w.TextHeight;
                t_PrintSymbol(1, code, static_cast<uint8_t>(colour), x, y);
                ruleGlyph(rule, font, code, colour >> 4, colour & 15, x, y);
            }
            ASSERT_TRUE(std::equal(rule.begin(), rule.end(), memoryPool.begin() + w.MemoryStart))
                << depth << " bit, cells of " << width << " x " << height;
        }
    }
}

TEST_F(GlyphDrawing, RefusalsNeverWriteOutsideTheWindowButRecordTheCell)
{
    greyWindow(24);
    std::vector<uint8_t> before(memoryPool.begin(), memoryPool.end());
    for (auto [x, y] : {std::pair<int64_t, int64_t>{0, 1}, {1, 0}, {17, 1}, {1, 17}, {INT64_MAX, 1}, {-5, INT64_MIN}})
        EXPECT_EQ(loglines([&, x = x, y = y] { t_PrintSymbol(1, 65, 192, x, y); }),
                  Lines{"t_PrintSymbol: Window #1 illegal coordinates (x = " + std::to_string(x) + ", y = " + std::to_string(y) + ")."});
    t_Font shortFont = greyFont();
    shortFont.Data.resize(100);  // glyphs 13 and above are missing
    // Missing glyphs, smaller cells than the screen was made for, and cells so large that their
    // bounds overflow are refused, not wrapped onto the screen.
    for (const auto& [font, x, y] : {std::tuple{shortFont, 1, 1}, {cellfont(2, 1, 256 * 2), 30, 1},
                                     {cellfont(4611686018427387905, 1, 256 * 8), 4, 4}, {cellfont(1, 4611686018427387905, 256 * 8), 4, 4}}) {
        t_WindowFont(1, font);
        EXPECT_EQ(loglines([x = x, y = y] { t_PrintSymbol(1, 65, 192, x, y); }).size(), 1u) << font.Width;
    }
    EXPECT_TRUE(std::equal(before.begin(), before.end(), memoryPool.begin()));
    EXPECT_EQ(loglines([] { t_PrintSymbol(8, 65, 192, 1, 1); }), Lines{"t_PrintSymbol: Window is not a graphic window."});
    // Fonts that cannot be printed still record the cell.
    t_Font other = greyFont();
    for (auto [format, code, line] : {std::tuple{0, 66, "Font format must be uncompressed grey for text-printing."},
                                      {7, 67, "Illegal font format."}}) {
        other.Format = format;
        t_WindowFont(1, other);
        EXPECT_EQ(loglines([code = code] { t_PrintSymbol(1, uint8_t(code), 192, code - 64, 2); }),
                  Lines{std::string("t_PrintSymbol: ") + line});
        EXPECT_EQ(cellcode(1, code - 64, 2), code);
    }
    // Cells without pixels draw nothing and still record the cell.
    const std::vector<uint8_t> pixels(memoryPool.begin() + windowTable[1].MemoryStart, memoryPool.end());
    for (const t_Font& empty : {cellfont(0, 2, 256 * 8), cellfont(4, 0, 256 * 8), cellfont(-4, 2, 256 * 8)}) {
        t_WindowFont(1, empty);
        EXPECT_TRUE(loglines([&] { t_PrintSymbol(1, 68, 192, 5, 3); }).empty()) << empty.Width;
        EXPECT_EQ(cellcode(1, 5, 3), 68);
        memoryPool[windowTable[1].TextMemoryStart + 2 * 16 + 4] = 0;
    }
    EXPECT_TRUE(std::equal(pixels.begin(), pixels.end(), memoryPool.begin() + windowTable[1].MemoryStart));
}

TEST_F(GlyphDrawing, DisplayModesAndEscapes)
{
    greyWindow(24);
    for (auto [mode, code, mapped] : {std::tuple{1, 65, 193}, {2, 65, 1}, {2, 97, 129}}) {
        t_DisplayMode(1, mode);
        EXPECT_EQ(t_ApplyDisplayMode(1, code).code, mapped) << mode << " " << code;
    }
    t_DisplayMode(1, 3);
    const t_DisplayModeResult inverse = t_ApplyDisplayMode(1, 1);  // the caller puts the old flag back
    t_DisplayMode(1, 4);
    const t_DisplayModeResult red = t_ApplyDisplayMode(1, 2);
    EXPECT_EQ(std::tuple(inverse.code, inverse.inverse, windowTable[1].TextInverse, red.code, int(red.colour), windowTable[1].TextColor >> 4),
              std::tuple(65, false, true, 66, 192, 1));
    EXPECT_EQ(t_ApplyDisplayMode(9, 65).code, -2);
    // Escapes set the colours, the border and the display mode.
    const t_Window& w = windowTable[1];
    t_DisplayMode(1, 0);
    t_Normal(1);
    for (auto [escape, colour, border] : {std::tuple{"\x1b" "D", 0x40, 5}, {"\x1b" "Z", 0x4A, 5}, {"\x1b" "A\x1b" "x", 0x1A, 10},
                                          {"\x1b\x7f", 0x1A, 1}}) {
        t_Print(1, escape);
        EXPECT_EQ(std::tuple(int(w.TextColor), w.RGBColorBorder, w.TextHpos), std::tuple(colour, palettecolor(border), 1L)) << escape;
    }
    // No parameter: drawn, the escape stays pending; ESC itself is taken as one and drawn too.
    t_Print(1, "\x1b");
    int64_t column = 1;
    for (int code : {int('g'), 96, 97, 98, 99, 100, 104, 108, 109, 27, 128, 200, 255}) {
        t_PrintChar(1, static_cast<uint8_t>(code));
        EXPECT_EQ(std::tuple(int(cellcode(1, column++, 1)), w.TextDisplayMode), std::tuple(code, 99L)) << code;
    }
    t_Print(1, "\u20ac");  // beyond a byte: a question mark, still pending
    EXPECT_EQ(std::tuple(int(cellcode(1, column, 1)), w.TextDisplayMode), std::tuple(int('?'), 99L));
    t_Print(1, "F");
    EXPECT_EQ(w.TextDisplayMode, 0);
}

// From the cursor, a tab escape goes to the next stop; a stop beyond the screen clears the rest
// of the line and goes to the next one.
TEST_F(GlyphDrawing, EscapeTabStopsOnTheProgramScreen)
{
    t_InitWindow(1, 8, 80, 25, 0, "MenloBold 16x32.font");
    const t_Window& w = windowTable[1];
    t_Htab(1, 75);
    t_Print(1, "ABCDE");
    const std::tuple<int64_t, const char*, int64_t, int64_t> cases[] = {
        {1, "\x1bi", 11, 1}, {10, "\x1bi", 21, 1}, {77, "\x1bi", 1, 2}, {1, "\x1bk", 41, 2}, {41, "\x1b" "f", 80, 2},
        {80, "\x1b" "e", 80, 25}};
    for (auto [from, escape, hpos, vpos] : cases) {
        t_Htab(1, from);
        t_Print(1, escape);
        EXPECT_EQ(std::tuple(w.TextHpos, w.TextVpos), std::tuple(hpos, vpos)) << escape << " from " << from;
    }
    EXPECT_EQ(std::tuple(cellcode(1, 76, 1), cellcode(1, 77, 1), cellcode(1, 79, 1)), std::tuple('B', ' ', ' '));
}
