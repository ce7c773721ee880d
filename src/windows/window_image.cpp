#include "windows/window_image.h"

#include "windows/window_table.h"

#include <array>
#include <cstring>

namespace {

constexpr uint32_t opaque = 0xFF000000u;

uint32_t paletteWord(int64_t index)
{
    t_RGBColor c = palettecolor(index);
    return opaque | uint32_t(c.Red) << 16 | uint32_t(c.Green) << 8 | c.Blue;
}

uint32_t loadWord(const uint8_t* bytes)
{
    uint32_t word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

// Pixels as red, green, blue bytes. Each pixel is read as a 4-byte word whose first three
// bytes are the pixel; the row's last pixel is read byte by byte so no read passes the row.
void convertRow24(const uint8_t* in, uint32_t* out, int64_t width)
{
    int64_t x = 0;
    for (; x + 1 < width; ++x) out[x] = opaque | __builtin_bswap32(loadWord(in + 3 * x)) >> 8;
    for (; x < width; ++x) out[x] = opaque | uint32_t(in[3 * x]) << 16 | uint32_t(in[3 * x + 1]) << 8 | in[3 * x + 2];
}

// Pixels as alpha, red, green, blue bytes; the alpha byte is not shown.
void convertRow32(const uint8_t* in, uint32_t* out, int64_t width)
{
    for (int64_t x = 0; x < width; ++x) out[x] = opaque | __builtin_bswap32(loadWord(in + 4 * x));
}

void convertRow16(const uint8_t* in, uint32_t* out, int64_t width)
{
    for (int64_t x = 0; x < width; ++x) out[x] = opaque | uint32_t(in[2 * x + 1]) * 0x010101u;
}

void convertRow8(const uint8_t* in, uint32_t* out, int64_t width)
{
    for (int64_t x = 0; x < width; ++x) out[x] = opaque | uint32_t(in[x]) * 0x010101u;
}

void convertRow4(const uint8_t* in, uint32_t* out, int64_t width, const std::array<uint32_t, 16>& palette)
{
    for (int64_t x = 0; x + 1 < width; x += 2) {
        out[x] = palette[in[x / 2] >> 4];
        out[x + 1] = palette[in[x / 2] & 15];
    }
}

void convertRow1(const uint8_t* in, uint32_t* out, int64_t width, uint32_t ink, uint32_t paper)
{
    for (int64_t x = 0; x < width; ++x) out[x] = (in[x / 8] >> (7 - x % 8)) & 1 ? ink : paper;
}

}  // namespace

bool convertpicture(const t_Window& w, uint32_t* out, size_t wordsPerRow)
{
    const int64_t rowBytes = bytesperrow(w.BitDepth, w.Width);
    if (rowBytes <= 0 || w.Height <= 0 || w.MemoryStart < 0) return false;
    if ((w.BitDepth == 1 && w.Width % 8 != 0) || (w.BitDepth == 4 && w.Width % 2 != 0)) return false;
    if (w.MemoryStart + rowBytes * w.Height > static_cast<int64_t>(memoryPool.size())) return false;
    std::array<uint32_t, 16> palette{};
    for (int i = 0; i < 16; ++i) palette[i] = paletteWord(i);
    const uint8_t* in = memoryPool.data() + w.MemoryStart;
    for (int64_t y = 0; y < w.Height; ++y, in += rowBytes, out += wordsPerRow) {
        switch (w.BitDepth) {
        case 1: convertRow1(in, out, w.Width, palette[15], palette[0]); break;
        case 4: convertRow4(in, out, w.Width, palette); break;
        case 8: convertRow8(in, out, w.Width); break;
        case 16: convertRow16(in, out, w.Width); break;
        case 24: convertRow24(in, out, w.Width); break;
        default: convertRow32(in, out, w.Width); break;
        }
    }
    return true;
}
