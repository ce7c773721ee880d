#include "text/glyph_drawing.h"

#include "app/checked_arithmetic.h"
#include "platform/log.h"
#include "text/text_window.h"
#include "windows/video_changes.h"
#include "windows/window_table.h"

#include <array>
#include <bit>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// g' × paper / 255 + g × ink / 255, each quotient truncated on its own.
uint8_t blendChannel(int g, int paper, int ink)
{
    return static_cast<uint8_t>((255 - g) * paper / 255 + g * ink / 255);
}

void buildBlendTable(BlendTable& table, int64_t ink, int64_t paper)
{
    const t_RGBColor i = palettecolor(ink), p = palettecolor(paper);
    const int inkGrey = (i.Red + i.Green + i.Blue) / 3, paperGrey = (p.Red + p.Green + p.Blue) / 3;
    for (int g = 0; g < 256; ++g) {
        uint8_t r = blendChannel(g, p.Red, i.Red), gr = blendChannel(g, p.Green, i.Green),
                b = blendChannel(g, p.Blue, i.Blue);
        table.rgb[g] = {r, gr, b};
        std::memcpy(&table.rgbWord[g], table.rgb[g].data(), 3);
        table.grey[g] = static_cast<uint8_t>((255 - g) * paperGrey / 255 + g * inkGrey / 255);
        table.bit[g] = (r + gr + b) / 3 >= 128 ? 1 : 0;
        table.nibble[g] = fourbitindex(r, gr, b);
    }
    table.ink = ink;
    table.paper = paper;
}

void drawRow1(uint8_t* row, int64_t px, const uint8_t* glyph, int64_t width, const BlendTable& blend)
{
    for (int64_t k = 0; k < width; ++k, ++px) {
        uint8_t mask = static_cast<uint8_t>(0x80 >> (px % 8));
        if (blend.bit[glyph[k]])
            row[px / 8] |= mask;
        else
            row[px / 8] &= static_cast<uint8_t>(~mask);
    }
}

void drawRow4(uint8_t* row, int64_t px, const uint8_t* glyph, int64_t width, const BlendTable& blend)
{
    for (int64_t k = 0; k < width; ++k, ++px) {
        uint8_t index = blend.nibble[glyph[k]];
        uint8_t& byte = row[px / 2];
        byte = px % 2 == 0 ? static_cast<uint8_t>((byte & 0x0F) | index << 4) : static_cast<uint8_t>((byte & 0xF0) | index);
    }
}

void drawRowGrey(uint8_t* pixel, int64_t step, const uint8_t* glyph, int64_t width, const BlendTable& blend)
{
    for (int64_t k = 0; k < width; ++k, pixel += step) *pixel = blend.grey[glyph[k]];
}

void drawRowColour(uint8_t* pixel, int64_t step, const uint8_t* glyph, int64_t width, const BlendTable& blend)
{
    for (int64_t k = 0; k < width; ++k, pixel += step) std::memcpy(pixel, blend.rgb[glyph[k]].data(), 3);
}

// Pixels of three bytes written as four-byte words, each word's fourth byte overwritten by
// the next pixel; the row's last pixel is written as three bytes so nothing right of the
// cell changes.
void drawRow24(uint8_t* pixel, const uint8_t* glyph, int64_t width, const BlendTable& blend)
{
    if (width <= 0) return;
    for (int64_t k = 0; k + 1 < width; ++k, pixel += 3) std::memcpy(pixel, &blend.rgbWord[glyph[k]], 4);
    std::memcpy(pixel, blend.rgb[glyph[width - 1]].data(), 3);
}

// Bytes of a pixel at the depths whose glyphs are kept drawn; 0 for the others.
int64_t bytesPerPixel(int64_t depth)
{
    return depth == 8 || depth == 16 || depth == 24 || depth == 32 ? depth / 8 : 0;
}

// Glyphs drawn in one colour pair at one depth, as the rows of pixels they make in graphic
// memory: drawing a glyph then copies its rows. Each glyph keeps the grey values it was drawn
// from; a glyph whose font data differ (another font, or the same font changed) is drawn
// again, so no font needs to name itself. Kept per thread for the few pairs used last.
struct RenderedGlyphs {
    int64_t ink = -1, paper = -1, depth = 0, width = 0, height = 0;
    uint64_t lastUse = 0;
    std::vector<uint8_t> grey;    // 256 glyphs of width x height grey values
    std::vector<uint8_t> pixels;  // 256 glyphs of height rows of width pixels
    std::vector<bool> drawn;
};

// Cells of at most this many pixels are kept drawn: the program's 16 x 32 cells and smaller.
constexpr int64_t renderedCellPixels = 1024;
constexpr size_t renderedPairs = 8;

RenderedGlyphs& renderedGlyphs(int64_t ink, int64_t paper, int64_t depth, int64_t width, int64_t height)
{
    thread_local std::array<RenderedGlyphs, renderedPairs> kept;
    thread_local uint64_t uses = 0;
    thread_local size_t last = 0;
    const auto matches = [&](const RenderedGlyphs& r) {
        return r.ink == ink && r.paper == paper && r.depth == depth && r.width == width && r.height == height;
    };
    ++uses;
    if (!matches(kept[last])) {
        size_t found = 0;
        while (found < kept.size() && !matches(kept[found])) ++found;
        if (found == kept.size()) {
            found = 0;
            for (size_t i = 1; i < kept.size(); ++i)
                if (kept[i].lastUse < kept[found].lastUse) found = i;
            RenderedGlyphs& r = kept[found];
            r.ink = ink, r.paper = paper, r.depth = depth, r.width = width, r.height = height;
            r.grey.assign(static_cast<size_t>(256 * width * height), 0);
            r.pixels.assign(static_cast<size_t>(256 * width * height * bytesPerPixel(depth)), 0);
            r.drawn.assign(256, false);
        }
        last = found;
    }
    kept[last].lastUse = uses;
    return kept[last];
}

// The pixels of `count` grey values in the colours of `blend`; at 16 and 32 bits the first
// byte of each pixel, which drawing leaves alone, is 0.
void renderPixels(uint8_t* out, const uint8_t* grey, int64_t count, int64_t depth, const BlendTable& blend)
{
    for (int64_t k = 0; k < count; ++k) {
        const uint8_t g = grey[k];
        switch (depth) {
        case 8: out[k] = blend.grey[g]; break;
        case 16: out[2 * k] = 0, out[2 * k + 1] = blend.grey[g]; break;
        case 24: std::memcpy(out + 3 * k, blend.rgb[g].data(), 3); break;
        default: out[4 * k] = 0, std::memcpy(out + 4 * k + 1, blend.rgb[g].data(), 3); break;
        }
    }
}

// The rows of the glyph of `code` drawn in `blend`'s colours, drawn now unless kept.
const uint8_t* glyphPixels(const t_Window& w, uint8_t code, const BlendTable& blend)
{
    const int64_t cellPixels = w.Font.Width * w.Font.Height;
    RenderedGlyphs& r = renderedGlyphs(blend.ink, blend.paper, w.BitDepth, w.Font.Width, w.Font.Height);
    const uint8_t* glyph = w.Font.Data.data() + code * cellPixels;
    uint8_t* grey = r.grey.data() + code * cellPixels;
    uint8_t* pixels = r.pixels.data() + code * cellPixels * bytesPerPixel(w.BitDepth);
    if (!r.drawn[code] || std::memcmp(grey, glyph, static_cast<size_t>(cellPixels)) != 0) {
        std::memcpy(grey, glyph, static_cast<size_t>(cellPixels));
        renderPixels(pixels, glyph, cellPixels, w.BitDepth, blend);
        r.drawn[code] = true;
    }
    return pixels;
}

// Copies `count` bytes: 16 at a time, the last 16 overlapping the ones before.
inline void copyRow(uint8_t* to, const uint8_t* from, int64_t count)
{
    if (count >= 16) {
        int64_t i = 0;
        for (; i + 16 <= count; i += 16) std::memcpy(to + i, from + i, 16);
        if (i < count) std::memcpy(to + count - 16, from + count - 16, 16);
    } else if (count >= 8) {
        std::memcpy(to, from, 8);
        std::memcpy(to + count - 8, from + count - 8, 8);
    } else {
        for (int64_t i = 0; i < count; ++i) to[i] = from[i];
    }
}

// Copies a row of 2- or 4-byte pixels but for the first byte of each, which stays.
inline void mergeRow(uint8_t* to, const uint8_t* from, int64_t count, int64_t pixelBytes)
{
    constexpr bool little = std::endian::native == std::endian::little;
    const uint64_t keep = pixelBytes == 2 ? (little ? 0x00FF00FF00FF00FFull : 0xFF00FF00FF00FF00ull)
                                          : (little ? 0x000000FF000000FFull : 0xFF000000FF000000ull);
    int64_t i = 0;
    for (; i + 8 <= count; i += 8) {
        uint64_t old, now;
        std::memcpy(&old, to + i, 8);
        std::memcpy(&now, from + i, 8);
        old = (old & keep) | now;
        std::memcpy(to + i, &old, 8);
    }
    for (; i < count; ++i)
        if (i % pixelBytes != 0) to[i] = from[i];
}

}  // namespace

uint8_t fourbitindex(uint8_t red, uint8_t green, uint8_t blue)
{
    if (red == green && green == blue) {
        int sum = red + green + blue;
        return sum < 192 ? 0 : sum <= 383 ? 5 : sum <= 575 ? 10 : 15;
    }
    uint8_t best = 0;
    int bestDistance = 65535;
    for (int i = 0; i < 16; ++i) {
        int dr = paletteRed[i] - red, dg = paletteGreen[i] - green, db = paletteBlue[i] - blue;
        int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            best = static_cast<uint8_t>(i);
            bestDistance = distance;
        }
    }
    return best;
}

const BlendTable& blendtable(int64_t ink, int64_t paper)
{
    if (ink < 0 || ink > 15 || paper < 0 || paper > 15) {
        thread_local BlendTable other;
        if (other.ink != ink || other.paper != paper) buildBlendTable(other, ink, paper);
        return other;
    }
    thread_local std::array<std::unique_ptr<BlendTable>, 256> tables;
    std::unique_ptr<BlendTable>& table = tables[ink * 16 + paper];
    if (!table) {
        table = std::make_unique<BlendTable>();
        buildBlendTable(*table, ink, paper);
    }
    return *table;
}

void drawglyph(const t_Window& w, uint8_t code, const BlendTable& blend, int64_t x, int64_t y)
{
    const int64_t fw = w.Font.Width, fh = w.Font.Height;
    const int64_t rowBytes = bytesperrow(w.BitDepth, w.Width);
    const int64_t px = fw * (x - 1);
    uint8_t* row = memoryPool.data() + w.MemoryStart + fh * (y - 1) * rowBytes;
    const int64_t pixelBytes = bytesPerPixel(w.BitDepth);
    if (pixelBytes > 0 && fw * fh <= renderedCellPixels) {
        const int64_t glyphRowBytes = fw * pixelBytes;
        const uint8_t* pixels = glyphPixels(w, code, blend);
        row += px * pixelBytes;
        for (int64_t r = 0; r < fh; ++r, row += rowBytes, pixels += glyphRowBytes) {
            if (pixelBytes == 1 || pixelBytes == 3)
                copyRow(row, pixels, glyphRowBytes);
            else
                mergeRow(row, pixels, glyphRowBytes, pixelBytes);
        }
        return;
    }
    const uint8_t* glyph = w.Font.Data.data() + code * fw * fh;
    for (int64_t r = 0; r < fh; ++r, row += rowBytes, glyph += fw) {
        switch (w.BitDepth) {
        case 1: drawRow1(row, px, glyph, fw, blend); break;
        case 4: drawRow4(row, px, glyph, fw, blend); break;
        case 8: drawRowGrey(row + px, 1, glyph, fw, blend); break;
        case 16: drawRowGrey(row + 2 * px + 1, 2, glyph, fw, blend); break;
        case 24: drawRow24(row + 3 * px, glyph, fw, blend); break;
        case 32: drawRowColour(row + 4 * px + 1, 4, glyph, fw, blend); break;
        default: return;
        }
    }
}

namespace {

// Whether the window's whole screen lies in its graphic block and the block in the pool.
bool screenInBlock(const t_Window& w)
{
    int64_t bytes;
    if (!checkedproduct(bytesperrow(w.BitDepth, w.Width), w.Height, bytes)) return false;
    return w.MemoryStart >= 0 && w.MemoryEnd < static_cast<int64_t>(memoryPool.size()) &&
           bytes <= w.MemoryEnd - w.MemoryStart + 1;
}

// Whether cell (x, y) lies on the window's screen, in its text block and in its graphic block.
bool cellOnScreen(const t_Window& w, int64_t x, int64_t y)
{
    if (x < 1 || y < 1 || x > w.TextWidth || y > w.TextHeight || cellindex(w, x, y) < 0) return false;
    int64_t right, bottom;
    if (!checkedproduct(w.Font.Width, x, right) || !checkedproduct(w.Font.Height, y, bottom)) return false;
    return right <= w.Width && bottom <= w.Height && screenInBlock(w);
}

enum class Glyph { none, inData, beyondData };

// Where the glyph of `code` is: none for a cell without pixels, else whether it lies
// inside the font's data.
Glyph glyphOf(const t_Font& font, uint8_t code)
{
    if (font.Width <= 0 || font.Height <= 0) return Glyph::none;
    int64_t size, end;
    if (!checkedproduct(font.Width, font.Height, size) || !checkedproduct(code + 1, size, end)) return Glyph::beyondData;
    return end <= static_cast<int64_t>(font.Data.size()) ? Glyph::inData : Glyph::beyondData;
}

void reportNotInitialized(uint8_t window)
{
    logline("t_PrintSymbol: Window #" + std::to_string(window) + " not initialized.");
}

void refuseCoordinates(uint8_t window, int64_t x, int64_t y)
{
    logline("t_PrintSymbol: Window #" + std::to_string(window) + " illegal coordinates (x = " + std::to_string(x) +
            ", y = " + std::to_string(y) + ").");
}

// The format line of a font that is not plain grey; a compressed font is named by the format
// it expands to, without expanding it.
void reportFontFormat(const t_Font& font)
{
    const int64_t format = font.Format == 102 ? 2 : font.Format == 100 ? 0 : font.Format;
    logline(format == 0 || format == 2 ? "t_PrintSymbol: Font format must be uncompressed grey for text-printing."
                                       : "t_PrintSymbol: Illegal font format.");
}

}  // namespace

void t_PrintSymbol(uint8_t window, uint8_t code, uint8_t colour, int64_t x, int64_t y)
{
    if (window > 7) {
        logline("t_PrintSymbol: Window is not a graphic window.");
        return;
    }
    if (!graphicwindowexists(window)) return reportNotInitialized(window);
    t_Window& w = windowTable[window];
    const int64_t redirect = redirectmode(w);
    if (redirect == 2) return writecharacter(code);
    if (redirect != 1) return;
    if (!w.Initialized || w.TextMemoryStart < 0 || w.Font.Data.empty()) return reportNotInitialized(window);
    VideoMemoryGuard guard(VideoMemoryGuard::Use::draw);  // the glyph and its cell whole, once per call

    const int64_t ink = w.TextInverse ? colour & 15 : colour >> 4;
    const int64_t paper = w.TextInverse ? colour >> 4 : colour & 15;
    if (!cellOnScreen(w, x, y)) return refuseCoordinates(window, x, y);
    const bool drawable = code >= w.Font.Start && code <= w.Font.End;
    if (drawable && w.Font.Format == 2) {
        const Glyph glyph = glyphOf(w.Font, code);
        if (glyph == Glyph::beyondData) return refuseCoordinates(window, x, y);
        if (glyph == Glyph::inData) {
            drawglyph(w, code, blendtable(ink, paper), x, y);
            notevideochange(window);
        }
    } else if (drawable) {
        reportFontFormat(w.Font);
    }
    const int64_t cell = cellindex(w, x, y);  // on the screen, checked above
    memoryPool[cell] = code;
    memoryPool[cell + colourplaneoffset(w)] = static_cast<uint8_t>(ink * 16 + paper);
}
