#include "windows/window_image.h"

#include "windows/window_table.h"

#include <array>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <tmmintrin.h>
#define VX_HAVE_SSSE3_PATH 1
#endif

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

// Pixels as red, green, blue bytes, from pixel `x` on. Each pixel is read as a 4-byte word
// whose first three bytes are the pixel; the row's last pixel is read byte by byte so no
// read passes the row.
void convertRow24From(const uint8_t* in, uint32_t* out, int64_t x, int64_t width)
{
    for (; x + 1 < width; ++x) out[x] = opaque | __builtin_bswap32(loadWord(in + 3 * x)) >> 8;
    for (; x < width; ++x) out[x] = opaque | uint32_t(in[3 * x]) << 16 | uint32_t(in[3 * x + 1]) << 8 | in[3 * x + 2];
}

// Pixels as alpha, red, green, blue bytes, from pixel `x` on; the alpha byte is not shown.
void convertRow32From(const uint8_t* in, uint32_t* out, int64_t x, int64_t width)
{
    for (; x < width; ++x) out[x] = opaque | __builtin_bswap32(loadWord(in + 4 * x));
}

#ifdef VX_HAVE_SSSE3_PATH
// Four pixels at a time: one 16-byte load, one byte shuffle into the words' byte order
// (blue, green, red, alpha in memory) and the opaque alpha; eight per turn of the loop. A
// load never passes the row. Returns the first pixel left for the plain loop.
template <int BytesPerPixel>
__attribute__((target("ssse3"))) int64_t convertPixelsSsse3(const uint8_t* in, uint32_t* out, int64_t width)
{
    const __m128i order = BytesPerPixel == 3 ? _mm_setr_epi8(2, 1, 0, -1, 5, 4, 3, -1, 8, 7, 6, -1, 11, 10, 9, -1)
                                             : _mm_setr_epi8(3, 2, 1, -1, 7, 6, 5, -1, 11, 10, 9, -1, 15, 14, 13, -1);
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(opaque));
    // The last load of a turn reads 16 bytes from pixel x + 4 on.
    const int64_t end = width - (16 + BytesPerPixel - 1) / BytesPerPixel - 4;
    int64_t x = 0;
    for (; x <= end; x += 8, in += 8 * BytesPerPixel) {
        __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
        __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 4 * BytesPerPixel));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_or_si128(_mm_shuffle_epi8(first, order), alpha));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x + 4), _mm_or_si128(_mm_shuffle_epi8(second, order), alpha));
    }
    return x;
}

bool haveSsse3()
{
    static const bool supported = __builtin_cpu_supports("ssse3");
    return supported;
}
#endif

void convertRow24(const uint8_t* in, uint32_t* out, int64_t width)
{
    int64_t x = 0;
#ifdef VX_HAVE_SSSE3_PATH
    if (haveSsse3()) x = convertPixelsSsse3<3>(in, out, width);
#endif
    convertRow24From(in, out, x, width);
}

void convertRow32(const uint8_t* in, uint32_t* out, int64_t width)
{
    int64_t x = 0;
#ifdef VX_HAVE_SSSE3_PATH
    if (haveSsse3()) x = convertPixelsSsse3<4>(in, out, width);
#endif
    convertRow32From(in, out, x, width);
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
