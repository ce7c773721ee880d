// Drawing glyphs into graphic memory: the blend of a glyph's grey values between paper and
// ink at every bit depth.
#pragma once

#include "vxtools.h"

#include <array>

// What one grey value of a glyph becomes between a paper and an ink palette entry, at every
// depth: the blended red, green and blue, the 8- and 16-bit grey, the 1-bit pixel and the
// 4-bit palette index.
struct BlendTable {
    int64_t ink = -1;
    int64_t paper = -1;
    std::array<std::array<uint8_t, 3>, 256> rgb{};
    std::array<uint32_t, 256> rgbWord{};  // the same three bytes in memory order, and a fourth
    std::array<uint8_t, 256> grey{};
    std::array<uint8_t, 256> bit{};
    std::array<uint8_t, 256> nibble{};
};

// The table for ink and paper (palette indexes 0 ... 15), kept per thread for every pair used.
const BlendTable& blendtable(int64_t ink, int64_t paper);
// The palette entry a blended colour shows as at 4 bits.
uint8_t fourbitindex(uint8_t red, uint8_t green, uint8_t blue);
// Draws the Font.Width x Font.Height glyph of `code` into cell (x, y) of `w`'s graphic
// memory in the colours of `blend`. The caller has checked the cell, the glyph and the depth.
// At 8, 16, 24 and 32 bits a glyph is blended once per colour pair, in the window's pixel
// format, and then copied row by row (see RenderedGlyphs in the source).
void drawglyph(const t_Window& w, uint8_t code, const BlendTable& blend, int64_t x, int64_t y);
