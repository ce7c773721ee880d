#include "text/glyph_drawing.h"

#include "app/checked_arithmetic.h"
#include "platform/log.h"
#include "text/text_window.h"
#include "windows/window_table.h"

#include <cstring>

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
    thread_local BlendTable table;
    if (table.ink != ink || table.paper != paper) buildBlendTable(table, ink, paper);
    return table;
}

void drawglyph(const t_Window& w, const uint8_t* glyph, const BlendTable& blend, int64_t x, int64_t y)
{
    const int64_t fw = w.Font.Width, fh = w.Font.Height;
    const int64_t rowBytes = bytesperrow(w.BitDepth, w.Width);
    const int64_t px = fw * (x - 1);
    uint8_t* row = memoryPool.data() + w.MemoryStart + fh * (y - 1) * rowBytes;
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
        if (glyph == Glyph::inData)
            drawglyph(w, w.Font.Data.data() + code * w.Font.Width * w.Font.Height, blendtable(ink, paper), x, y);
    } else if (drawable) {
        reportFontFormat(w.Font);
    }
    const int64_t cell = cellindex(w, x, y);  // on the screen, checked above
    memoryPool[cell] = code;
    memoryPool[cell + colourplaneoffset(w)] = static_cast<uint8_t>(ink * 16 + paper);
}
