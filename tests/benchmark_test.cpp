// The benchmark's ramp with a clock the test controls, its report lines and its worker.
#include "app/benchmark.h"
#include "window_test_support.h"

#include <gtest/gtest.h>

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

TEST(Benchmark, ATieEndsTheRampWithThePreviousPass)
{
    ScriptedRamp ramp{{1.0, 0.5, 0.5, 0.1}};
    std::pair<int64_t, double> result;
    auto lines = loglines([&] { result = maximumthreads(true, ramp.hooks()); });
    EXPECT_EQ(result.first, 2);
    EXPECT_DOUBLE_EQ(result.second, 2.0);
    EXPECT_EQ(ramp.threadsRun, (std::vector<int64_t>{1, 2, 4}));
    // Two passes report (into a window that does not exist here); the failing one does not.
    EXPECT_EQ(countOf(lines, "t_Print: Window is not a graphic window."), 2);
    EXPECT_EQ(lines.back(), "");
}

TEST(Benchmark, ASlowerPassEndsItToo)
{
    ScriptedRamp ramp{{1.0, 0.6, 0.4, 0.45}};
    auto result = maximumthreads(false, ramp.hooks());
    EXPECT_EQ(result.first, 4);
    EXPECT_EQ(result.second, 0.0);  // a quiet ramp computes no speed
}

TEST(Benchmark, AllPassesFasterGiveNinetySix)
{
    ScriptedRamp ramp;
    for (int i = 0; i < 23; ++i) ramp.passes.push_back(2.0 - i * 0.05);
    std::pair<int64_t, double> result;
    auto lines = loglines([&] { result = maximumthreads(true, ramp.hooks()); });
    EXPECT_EQ(result.first, 96);
    EXPECT_NEAR(result.second, passspeed(static_cast<int64_t>((2.0 - 22 * 0.05) * 1e6)), 1e-3);
    EXPECT_EQ(ramp.threadsRun.size(), 23u);
    EXPECT_EQ(lines.back(), "\rmaximumthreads: Result is greater or equal 96 threads.");
}

TEST(Benchmark, ReportLines)
{
    EXPECT_EQ(passreport(1234567, 4), "1.234 ms. =  4 Threads =  0,81 GFLOPs");
    EXPECT_EQ(passreport(9876543, 1), "9.876 ms. =  1 Thread  =  0,10 GFLOPs");
    EXPECT_EQ(passreport(12345678, 96), "12.345 ms. = 96 Threads =  0,08 GFLOPs");
    EXPECT_EQ(passreport(999999, 2), "  999 ms. =  2 Threads =  1,00 GFLOPs");
    EXPECT_EQ(passreport(8130, 24), "    8 ms. = 24 Threads =123,00 GFLOPs");
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
