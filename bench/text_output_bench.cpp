// Text output at 24 bits: glyph drawing against the plain blend formula and a memcpy of the
// bytes a screen of glyphs writes, a full screen of t_Print, and scrolling the program's area
// against a memmove of the same bytes.
#include "text/font_resources.h"
#include "text/glyph_drawing.h"
#include "vxtools.h"
#include "windows/window_table.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

// Window 0 as the program makes it: 1280 x 800 at 24 bits, 80 x 25 cells of the bold font.
t_Window& programWindow()
{
    ensurememory();
    std::lock_guard<std::mutex> guard(windowRecordLock);
    t_Window& w = windowTable[0];
    w = t_Window{};
    w.Initialized = true;
    w.BitDepth = 24;
    w.Width = 1280;
    w.Height = 800;
    w.MemoryStart = 13705216;
    w.MemoryEnd = memoryTop;
    w.TextMemoryStart = 13701120;
    w.TextMemoryEnd = 13705215;
    w.TextWidth = w.TextLastColumn = 80;
    w.TextHeight = w.TextLastLine = 25;
    w.TextFirstColumn = w.TextFirstLine = w.TextHpos = w.TextVpos = 1;
    w.TextColor = 0xC0;
    w.Font = fontfrombytes(getbinaryfromfile(std::string(VX_RESOURCE_DIR) + "/MenloBold 16x32.font"));
    return w;
}

// The blend written straight from its rule, pixel by pixel and channel by channel.
void plainGlyph(const t_Window& w, uint8_t code, int64_t ink, int64_t paper, int64_t x, int64_t y)
{
    const t_RGBColor i = palettecolor(ink), p = palettecolor(paper);
    const int64_t fw = w.Font.Width, fh = w.Font.Height;
    for (int64_t r = 0; r < fh; ++r) {
        for (int64_t k = 0; k < fw; ++k) {
            int g = w.Font.Data[code * fw * fh + r * fw + k], gi = 255 - g;
            int64_t px = fw * (x - 1) + k, py = fh * (y - 1) + r;
            uint8_t* pixel = &memoryPool[w.MemoryStart + 3 * (py * w.Width + px)];
            pixel[0] = static_cast<uint8_t>(gi * p.Red / 255 + g * i.Red / 255);
            pixel[1] = static_cast<uint8_t>(gi * p.Green / 255 + g * i.Green / 255);
            pixel[2] = static_cast<uint8_t>(gi * p.Blue / 255 + g * i.Blue / 255);
        }
    }
}

void tableGlyph(const t_Window& w, uint8_t code, int64_t ink, int64_t paper, int64_t x, int64_t y)
{
    drawglyph(w, code, blendtable(ink, paper), x, y);
}

// Draws a screen of glyphs in changing colours with `draw`.
template <typename Draw>
void drawScreen(const t_Window& w, Draw draw)
{
    for (int64_t y = 1; y <= 25; ++y)
        for (int64_t x = 1; x <= 80; ++x) draw(w, static_cast<uint8_t>(32 + (x * 7 + y) % 224), 12, y % 3, x, y);
}

void BM_GlyphsPlainFormula(benchmark::State& state)
{
    const t_Window& w = programWindow();
    for (auto _ : state) drawScreen(w, plainGlyph);
    state.SetItemsProcessed(state.iterations() * 2000);
}
BENCHMARK(BM_GlyphsPlainFormula)->Unit(benchmark::kMicrosecond);

void BM_GlyphsBlendTable(benchmark::State& state)
{
    const t_Window& w = programWindow();
    drawScreen(w, plainGlyph);
    std::vector<uint8_t> plain(memoryPool.begin() + w.MemoryStart, memoryPool.begin() + w.MemoryEnd + 1);
    drawScreen(w, tableGlyph);
    if (!std::equal(plain.begin(), plain.end(), memoryPool.begin() + w.MemoryStart))
        state.SkipWithError("the blend tables draw other bytes than the plain formula");
    for (auto _ : state) drawScreen(w, tableGlyph);
    state.SetItemsProcessed(state.iterations() * 2000);
}
BENCHMARK(BM_GlyphsBlendTable)->Unit(benchmark::kMicrosecond);

// What a screen of glyphs writes: the 3,072,000 bytes of 80 x 25 cells of 16 x 32 pixels at 24
// bits, copied with memcpy.
void BM_MemcpyScreenBytes(benchmark::State& state)
{
    const size_t bytes = 80 * 25 * 16 * 32 * 3;
    std::vector<uint8_t> source(bytes, 1), target(bytes, 0);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), bytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_MemcpyScreenBytes)->Unit(benchmark::kMicrosecond);

void BM_PrintFullScreen(benchmark::State& state)
{
    t_Window& w = programWindow();
    const std::string line(80, 'W');
    for (auto _ : state) {
        w.TextHpos = w.TextVpos = 1;
        for (int i = 0; i < 24; ++i) t_Print(0, line);
        t_Print(0, line.substr(1));  // the last cell would scroll
    }
    state.SetItemsProcessed(state.iterations() * 1999);
}
BENCHMARK(BM_PrintFullScreen)->Unit(benchmark::kMicrosecond);

void BM_ScrollUpProgramArea(benchmark::State& state)
{
    programWindow();
    for (auto _ : state) t_ScrollUp(0);
}
BENCHMARK(BM_ScrollUpProgramArea)->Unit(benchmark::kMicrosecond);

// The bytes a scroll of the program's area moves: 24 lines of pixels and of both text planes.
void BM_MemmoveScrollBytes(benchmark::State& state)
{
    const t_Window& w = programWindow();
    const int64_t lineBytes = 3 * 32 * 1280;
    for (auto _ : state) {
        std::memmove(&memoryPool[w.TextMemoryStart + 2048], &memoryPool[w.TextMemoryStart + 2048 + 80], 24 * 80);
        std::memmove(&memoryPool[w.TextMemoryStart], &memoryPool[w.TextMemoryStart + 80], 24 * 80);
        std::memmove(&memoryPool[w.MemoryStart], &memoryPool[w.MemoryStart + lineBytes], 24 * lineBytes);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemmoveScrollBytes)->Unit(benchmark::kMicrosecond);

}  // namespace
