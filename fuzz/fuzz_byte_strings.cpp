// The bit unpacker and the LZW expander on any bytes, and the byte-string routines around them.
#include "app/byte_strings.h"
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
    if (size < 1) return 0;
    const std::vector<uint8_t> bytes(data + 1, data + size);
    // The first byte is the code width, as in compressed font data.
    const std::vector<int64_t> codes = unpackbits(bytes, data[0] % 70 - 2);
    if (!codes.empty() && codes.size() != bytes.size() * 8 / static_cast<size_t>(data[0] % 70 - 2)) __builtin_trap();
    if (auto expanded = lzwexpandwithin(codes, 1 << 20); expanded && codes.size() < 512 && *expanded != lzwexpand(codes))
        __builtin_trap();

    (void)bytestostring(bytes);
    (void)comparetext(bytes, std::vector<uint8_t>(bytes.rbegin(), bytes.rend()));
    (void)bigendian32(bytes, static_cast<int64_t>(data[0]) - 4);
    // Joining the pieces gives the bytes back, less one separator at the very end.
    std::vector<uint8_t> rejoined = joinbytes(splitbytes(bytes, data[0]), data[0]);
    std::vector<uint8_t> expected = bytes;
    if (!expected.empty() && expected.back() == data[0]) expected.pop_back();
    if (rejoined != expected) __builtin_trap();
    return 0;
}
