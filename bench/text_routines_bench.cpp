// Speed of the byte-string routines that unpack font data, and of the number formatter.
#include "vxtools.h"

#include <benchmark/benchmark.h>

#include <map>
#include <string>

namespace {

// LZW codes of `data` with a growing dictionary, as the font files store them. The byte
// sequences are held as strings: GCC 12 warns of a comparison of byte vectors beyond any size
// (-Wstringop-overread, a false positive).
std::vector<int64_t> lzwCodes(const std::vector<uint8_t>& data)
{
    std::map<std::string, int64_t> dictionary;
    for (int b = 0; b < 256; ++b) dictionary.emplace(std::string(1, static_cast<char>(b)), b);
    std::vector<int64_t> codes;
    std::string current;
    for (uint8_t byte : data) {
        std::string longer = current;
        longer.push_back(static_cast<char>(byte));
        if (dictionary.count(longer)) {
            current = longer;
            continue;
        }
        codes.push_back(dictionary[current]);
        int64_t next = static_cast<int64_t>(dictionary.size());
        dictionary[longer] = next;
        current.assign(1, static_cast<char>(byte));
    }
    if (!current.empty()) codes.push_back(dictionary[current]);
    return codes;
}

// Glyph-like data: 256 cells of 16 x 32 grey values, mostly blank.
std::vector<uint8_t> glyphData()
{
    std::vector<uint8_t> data(256 * 16 * 32, 0);
    for (size_t i = 0; i < data.size(); ++i)
        if ((i * 2654435761u) % 7 == 0) data[i] = static_cast<uint8_t>(i * 37);
    return data;
}

void BM_LzwExpandFont(benchmark::State& state)
{
    std::vector<int64_t> codes = lzwCodes(glyphData());
    for (auto _ : state) benchmark::DoNotOptimize(lzwexpand(codes));
    state.SetBytesProcessed(state.iterations() * 256 * 16 * 32);
}
BENCHMARK(BM_LzwExpandFont);

void BM_FormatReal(benchmark::State& state)
{
    double value = 1234567.891;
    for (auto _ : state) {
        benchmark::DoNotOptimize(formatreal(32, 12, 3, true, value));
        value += 0.5;
    }
}
BENCHMARK(BM_FormatReal);

}  // namespace
