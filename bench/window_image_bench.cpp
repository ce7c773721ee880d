// The picture of the program's 1280 x 800, 24-bit window against copying its 4,096,000
// output bytes with memcpy.
#include "vxtools.h"
#include "windows/window_image.h"
#include "windows/window_table.h"

#include <QImage>

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

constexpr int64_t width = 1280;
constexpr int64_t height = 800;
constexpr size_t pictureBytes = width * height * 4;

void prepareProgramWindow()
{
    ensurememory();
    std::lock_guard<std::mutex> guard(windowRecordLock);
    t_Window& w = windowTable[0];
    w.Initialized = true;
    w.Visible = true;
    w.BitDepth = 24;
    w.Width = width;
    w.Height = height;
    w.MemoryStart = 13705216;
    w.MemoryEnd = memoryTop;
    for (int64_t i = w.MemoryStart; i <= w.MemoryEnd; ++i) memoryPool[i] = static_cast<uint8_t>(i * 7 + (i >> 9));
}

void BM_WindowImage24(benchmark::State& state)
{
    prepareProgramWindow();
    for (auto _ : state) {
        QImage picture = t_WindowImage(0);
        benchmark::DoNotOptimize(picture.constBits());
    }
    state.SetBytesProcessed(state.iterations() * pictureBytes);
}
BENCHMARK(BM_WindowImage24)->Unit(benchmark::kMicrosecond);

void BM_MemcpyPictureBytes(benchmark::State& state)
{
    std::vector<uint8_t> source(pictureBytes, 1), target(pictureBytes, 0);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), pictureBytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * pictureBytes);
}
BENCHMARK(BM_MemcpyPictureBytes)->Unit(benchmark::kMicrosecond);

}  // namespace

namespace {

void BM_ConvertPicture24(benchmark::State& state)
{
    prepareProgramWindow();
    std::vector<uint32_t> out(width * height);
    for (auto _ : state) {
        convertpicture(windowTable[0], out.data(), width);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * pictureBytes);
}
BENCHMARK(BM_ConvertPicture24)->Unit(benchmark::kMicrosecond);

}  // namespace
