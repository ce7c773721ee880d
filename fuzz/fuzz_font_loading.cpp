// Font files of any bytes: loading, expanding and what a loaded font promises.
#include "text/font_resources.h"
#include "vxtools.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    initvxtools();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> bytes(data, data + size);
    const t_Font font = fontfrombytes(bytes);
    if (font.Identifier.size() != 4) __builtin_trap();
    if (!font.Data.empty() && (font.Identifier != fontIdentifier() || size < 14)) __builtin_trap();
    if (font.Format == 100 || font.Format == 102) __builtin_trap();  // loading always expands
    if (font.Data.size() > 256 * 255 * 255 && size < 256 * 255 * 255) __builtin_trap();
    // Expanding again changes nothing.
    const t_Font again = expandfont(font);
    if (again.Data != font.Data || again.Format != font.Format) __builtin_trap();
    return 0;
}
