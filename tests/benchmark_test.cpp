// The benchmark's ramp with a clock the test controls, its report lines and its worker.
#include "app/benchmark.h"
#include "window_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

namespace {

// A clock whose passes take the given seconds, one after the other.
struct ScriptedRamp {
    std::vector<double> passes;
    std::vector<int64_t> threadsRun;
    double now = 1000.0;
    size_t readings = 0;

    RampHooks hooks()
    {
        return RampHooks{[this] {
                             if (readings++ % 2 == 1) now += passes.at(threadsRun.size() - 1);
                             return now;
                         },
                         [this](int64_t threads) { threadsRun.push_back(threads); }};
    }
};

int64_t countOf(const std::vector<std::string>& lines, const std::string& line)
{
    return std::count(lines.begin(), lines.end(), line);
}

}  // namespace

TEST(Benchmark, APassWithinTheMarginEndsTheRampWithThePreviousPass)
{
    // Seconds per pass; the third is what decides.
    // From 2 to 4 threads the time could halve: a gain of noise's size ends the ramp, a real one goes on.
    const std::pair<double, int64_t> cases[] = {{0.5, 2}, {0.485, 2}, {0.55, 2}, {0.47, 2}, {0.4, 2}, {0.3, 4}};
    for (auto [third, answer] : cases) {
        ScriptedRamp ramp{{1.0, 0.5, third, 0.5, 0.5}};
        std::pair<int64_t, double> result;
        auto lines = loglines([&] { result = maximumthreads(true, ramp.hooks()); });
        EXPECT_EQ(result.first, answer) << third;
        EXPECT_DOUBLE_EQ(result.second, passspeed(static_cast<int64_t>(ramp.passes[answer / 2] * 1e6))) << third;
        // Each faster pass prints its line in three parts, refused here without a window.
        EXPECT_EQ(countOf(lines, "t_Print: Window is not a graphic window."), 3 * (answer / 2 + 1)) << third;
        EXPECT_EQ(lines.back(), "");
    }
}

TEST(Benchmark, FasterMeansBeyondTheMargin)
{
    // elapsed, previous (µs), previous threads, threads, faster
    const std::tuple<int64_t, int64_t, int64_t, int64_t, bool> cases[] = {
        {1000000, 1000000, 60, 64, false}, {960000, 1000000, 60, 64, false}, {959999, 1000000, 60, 64, true},
        {937500, 1000000, 60, 64, true},  // the smallest real step of the ramp
        {1000001, 1000000, 60, 64, false},
        {920000, 1000000, 1, 2, false},  // noise of a CPU shared with other work
        {750000, 1000000, 1, 2, false}, {749999, 1000000, 1, 2, true}, {520000, 1000000, 1, 2, true},
        {870000, 1000000, 2, 4, false},  // a 2-thread pass held up by other work, then 4 threads on 2 CPUs
        {9999999999, 10000000000, 0, 1, false}, {1, 10000000000, 0, 1, true}};
    for (auto [elapsed, previous, before, threads, faster] : cases)
        EXPECT_EQ(passisfaster(elapsed, previous, before, threads), faster) << elapsed << " " << threads;
}

TEST(Benchmark, APassHeldUpIsMeasuredAgain)
{
    // The 2-thread pass is held up once, then the 4-thread pass ties twice.
    ScriptedRamp ramp{{1.0, 0.9, 0.5, 0.5, 0.49}};
    std::pair<int64_t, double> result;
    loglines([&] { result = maximumthreads(true, ramp.hooks()); });
    EXPECT_EQ(result, std::make_pair(int64_t{2}, passspeed(500000)));
    EXPECT_EQ(ramp.threadsRun, (std::vector<int64_t>{1, 2, 2, 4, 4}));
}

TEST(Benchmark, ASlowerPassEndsItToo)
{
    ScriptedRamp ramp{{1.0, 0.6, 0.4, 0.45, 0.45}};
    auto result = maximumthreads(false, ramp.hooks());
    EXPECT_EQ(result.first, 4);
    EXPECT_EQ(result.second, 0.0);  // a quiet ramp computes no speed
}

TEST(Benchmark, AllPassesFasterGiveNinetySix)
{
    ScriptedRamp ramp;
    for (int64_t threads : threadRamp) ramp.passes.push_back(2.0 / static_cast<double>(threads));
    std::pair<int64_t, double> result;
    auto lines = loglines([&] { result = maximumthreads(true, ramp.hooks()); });
    EXPECT_EQ(result.first, 96);
    EXPECT_NEAR(result.second, passspeed(static_cast<int64_t>(ramp.passes.back() * 1e6)), 1e-3);
    EXPECT_EQ(ramp.threadsRun.size(), 23u);
    EXPECT_EQ(lines.back(), "\rmaximumthreads: Result is greater or equal 96 threads.");
}

TEST(Benchmark, ReportLines)
{
    const std::tuple<int64_t, int64_t, const char*> cases[] = {
        {1234567, 4, "1.234 ms. =  4 Threads =  0,81 GFLOPs"}, {9876543, 1, "9.876 ms. =  1 Thread  =  0,10 GFLOPs"},
        {12345678, 96, "12.345 ms. = 96 Threads =  0,08 GFLOPs"}, {999999, 2, "  999 ms. =  2 Threads =  1,00 GFLOPs"},
        {8130, 24, "    8 ms. = 24 Threads =123,00 GFLOPs"}};
    for (auto [elapsed, threads, line] : cases) {
        auto parts = passreport(elapsed, threads);
        EXPECT_EQ(parts[0] + parts[1] + parts[2], line);
        EXPECT_EQ(parts[1], threads > 1 ? "s" : " ");
    }
    EXPECT_EQ(formatreal(32, 3, 2, true, 0.819), "  0,81");
}

TEST(Benchmark, WorkerAddsAndSignsItsSum)
{
    EXPECT_EQ(additionchain(10416666), 10416666);
    EXPECT_EQ(additionchain(0), 0);
    EXPECT_EQ(additionchain(-3), 0);
    testing::internal::CaptureStdout();
    benchmarkworker(1);
    benchmarkworker(1000);
    benchmarkworker(0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "..-");
}

TEST(Benchmark, TheChainsLoopLiesInOneCacheLine)
{
    // The disassembly of this program's chain: address and instruction of each line.
    const std::string command =
        "objdump -d --no-show-raw-insn --disassemble=_Z13additionchainl /proc/" + std::to_string(getpid()) + "/exe";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::vector<std::pair<unsigned long long, std::string>> code;
    char line[512];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        unsigned long long address = 0;
        int used = 0;
        if (std::sscanf(line, " %llx:%n", &address, &used) == 1 && used > 0) code.push_back({address, line + used});
    }
    pclose(pipe);
    // The loop runs from the target of the backward branch to the end of that branch.
    unsigned long long loopStart = 0, loopEnd = 0;
    for (size_t i = 0; i + 1 < code.size(); ++i) {
        unsigned long long target = 0;
        if (std::sscanf(code[i].second.c_str(), " j%*s %llx", &target) == 1 && target < code[i].first)
            loopStart = target, loopEnd = code[i + 1].first;
    }
    ASSERT_GT(loopEnd, loopStart) << "no loop found in the disassembly of additionchain";
    EXPECT_EQ(loopStart / 64, (loopEnd - 1) / 64) << std::hex << loopStart << "-" << loopEnd;
}
