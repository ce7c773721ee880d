#include "app/benchmark.h"

#include "platform/clock.h"
#include "platform/log.h"
#include "platform/worker_pool.h"
#include "vxtools.h"

#include <algorithm>
#include <memory>

namespace {

constexpr int64_t startingReference = 10000000000;  // microseconds: every first pass is faster

int64_t microseconds(double seconds)
{
    return static_cast<int64_t>(seconds * 1000000);
}

void reportPass(int64_t elapsed, int64_t threads)
{
    const uint8_t window = t_FirstWindow;
    for (const std::string& part : passreport(elapsed, threads)) t_Print(window, part);
    t_Cr(window);
    t_WindowUpdate(0, false);
}

// The work of one pass on the worker pool: `threads` items of an equal share each.
void poolPass(DispatchGroup& group, int64_t threads)
{
    const int64_t share = totalAdditions / threads;
    for (int64_t i = 0; i < threads; ++i) group.async([share] { benchmarkworker(share); });
    group.wait();
}

// Runs one pass on `threads` threads; its time in microseconds, each reading truncated.
int64_t timedpass(const RampHooks& hooks, int64_t threads)
{
    const double start = hooks.clock();
    hooks.runPass(threads);
    return microseconds(hooks.clock()) - microseconds(start);
}

void tellmeasured(const RampHooks& hooks, const RampPass& pass)
{
    if (hooks.measured) hooks.measured(pass);
}

}  // namespace

double passspeed(int64_t elapsed)
{
    return 1000000000.0 / static_cast<double>(elapsed) / 1000.0;
}

std::array<std::string, 3> passreport(int64_t elapsed, int64_t threads)
{
    return {formatinteger(elapsed / 1000, 32, 5, true) + " ms. = " + formatinteger(threads, 32, 2, true) + " Thread",
            threads > 1 ? "s" : " ", " =" + formatreal(32, 3, 2, true, passspeed(elapsed)) + " GFLOPs"};
}

double rampmargin(int64_t previousThreads, int64_t threads)
{
    const double bestSaving = 1.0 - static_cast<double>(previousThreads) / static_cast<double>(threads);
    return std::max(rampMargin, rampStepShare * bestSaving);
}

bool passisfaster(int64_t elapsed, int64_t previous, int64_t previousThreads, int64_t threads)
{
    return static_cast<double>(elapsed) < static_cast<double>(previous) * (1.0 - rampmargin(previousThreads, threads));
}

std::pair<int64_t, double> maximumthreads(bool report, const RampHooks& hooks)
{
    int64_t previous = startingReference, resultThreads = 0;
    double resultSpeed = 0.0;
    for (int64_t threads : threadRamp) {
        int64_t elapsed = timedpass(hooks, threads);
        // A pass held up by other work on the machine is measured once more before it may
        // end the ramp; the better time counts.
        if (!passisfaster(elapsed, previous, resultThreads, threads)) {
            tellmeasured(hooks, {threads, elapsed, false});
            const int64_t again = timedpass(hooks, threads);
            const bool faster = passisfaster(std::min(elapsed, again), previous, resultThreads, threads);
            tellmeasured(hooks, {threads, again, faster});
            elapsed = std::min(elapsed, again);
        } else {
            tellmeasured(hooks, {threads, elapsed, true});
        }
        if (!passisfaster(elapsed, previous, resultThreads, threads)) {
            logline("");
            return {resultThreads, resultSpeed};
        }
        double speed = 0.0;
        if (report) {
            speed = passspeed(elapsed);
            reportPass(elapsed, threads);
        }
        previous = elapsed;
        resultThreads = threads;
        resultSpeed = speed;
    }
    logline("\rmaximumthreads: Result is greater or equal 96 threads.");
    return {resultThreads, resultSpeed};
}

RampHooks poolramphooks()
{
    auto group = std::make_shared<DispatchGroup>();
    return RampHooks{absolutetime, [group](int64_t threads) { poolPass(*group, threads); }, {}};
}

std::pair<int64_t, double> maximumthreads(bool report)
{
    return maximumthreads(report, poolramphooks());
}
