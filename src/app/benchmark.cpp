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

// The ramp as it stands: the last pass that counted as faster and the one before it.
struct Ramp {
    const RampHooks& hooks;
    bool report;
    int64_t threads = 0;  // 0 before the first pass
    int64_t best = startingReference;  // its best time, what the next pass must beat
    int64_t shown = 0;                 // the time its report line shows
    double speed = 0.0;
    int64_t earlierThreads = 0;
    int64_t earlierBest = startingReference;
    double earlierSpeed = 0.0;
    int64_t bestSince = startingReference;  // the best time of the last faster pass and every pass after it
    bool doubtful = false;       // the last step won far less than its added threads could save
    bool reportPending = false;  // the last pass's line waits until that doubt is settled
};

// The times of one pass measured again and again: the best and the worst.
struct PassTimes {
    int64_t best = startingReference;
    int64_t worst = 0;
};

// Measures a pass on `threads` threads; `times` keeps the best and the worst.
int64_t measure(Ramp& ramp, int64_t threads, PassTimes& times)
{
    const int64_t elapsed = timedpass(ramp.hooks, threads);
    if (threads >= ramp.threads) ramp.bestSince = std::min(ramp.bestSince, elapsed);
    times.best = std::min(times.best, elapsed);
    times.worst = std::max(times.worst, elapsed);
    return elapsed;
}

void tell(const Ramp& ramp, int64_t threads, int64_t elapsed, bool faster)
{
    if (ramp.hooks.measured) ramp.hooks.measured({threads, elapsed, faster});
}

// Measures the last faster pass once more, for a best time to meet a best time.
void measurelast(Ramp& ramp)
{
    PassTimes times{ramp.best};
    tell(ramp, ramp.threads, measure(ramp, ramp.threads, times), false);
    ramp.best = times.best;
}

// Whether a pass on `threads` threads of `elapsed` microseconds counts as faster than the
// ramp's last one, with a margin smaller by `slack`; `nearMiss` tells whether it falls short
// of the full margin by no more than the noise of one measurement (`rampMargin`).
bool fasterstep(const Ramp& ramp, int64_t elapsed, int64_t threads, double slack, bool& nearMiss)
{
    nearMiss = false;
    if (ramp.threads == 0) return true;
    const double margin = rampmargin(ramp.threads, threads), time = static_cast<double>(elapsed);
    if (time < static_cast<double>(ramp.best) * (1.0 - margin + slack)) return true;
    nearMiss = time < static_cast<double>(ramp.best) * (1.0 - margin + rampNearMissBand);
    return false;
}

// Measures `threads` once more; whether its best time now counts as faster.
bool measuredagain(Ramp& ramp, int64_t threads, PassTimes& times, double slack, bool& nearMiss)
{
    const int64_t elapsed = measure(ramp, threads, times);
    const bool faster = fasterstep(ramp, times.best, threads, slack, nearMiss);
    tell(ramp, threads, elapsed, faster);
    return faster;
}

// Whether a win is doubtful: below `rampTrustShare` of what the added threads could save at
// best, and short of that by more than the noise of a measurement.
bool windoubtful(int64_t elapsed, int64_t previous, int64_t previousThreads, int64_t threads)
{
    const double bestSaving = 1.0 - static_cast<double>(previousThreads) / static_cast<double>(threads);
    const double saving = 1.0 - static_cast<double>(elapsed) / static_cast<double>(previous);
    return saving < rampTrustShare * bestSaving && saving < bestSaving - rampMargin;
}

void printpending(Ramp& ramp)
{
    if (ramp.reportPending && ramp.report) reportPass(ramp.shown, ramp.threads);
    ramp.reportPending = false;
}

// The pass on `threads` threads counted as faster, with its best time `best`. A doubtful win
// prints its line once the doubt is settled: by a next faster pass, or at the end.
void accept(Ramp& ramp, int64_t threads, int64_t best)
{
    printpending(ramp);
    ramp.doubtful = ramp.threads > 0 && windoubtful(best, ramp.best, ramp.threads, threads);
    ramp.earlierThreads = ramp.threads, ramp.earlierBest = ramp.best, ramp.earlierSpeed = ramp.speed;
    ramp.threads = threads, ramp.best = best, ramp.shown = best, ramp.bestSince = best;
    ramp.speed = ramp.report ? passspeed(best) : 0.0;
    ramp.reportPending = true;
    if (!ramp.doubtful) printpending(ramp);
}

// Whether the last win holds against the pass before it measured once more, best time against
// best time, with a margin smaller by the slack of best times; if not, the last pass is
// measured once more too.
bool winholds(Ramp& ramp)
{
    if (!windoubtful(ramp.bestSince, ramp.earlierBest, ramp.earlierThreads, ramp.threads)) return true;
    PassTimes earlier{ramp.earlierBest}, last{ramp.best};
    const double share = 1.0 - rampmargin(ramp.earlierThreads, ramp.threads) + rampBestSlack;
    tell(ramp, ramp.earlierThreads, measure(ramp, ramp.earlierThreads, earlier), false);
    if (static_cast<double>(ramp.bestSince) < static_cast<double>(earlier.best) * share) return true;
    const int64_t again = measure(ramp, ramp.threads, last);
    const bool holds = static_cast<double>(ramp.bestSince) < static_cast<double>(earlier.best) * share;
    tell(ramp, ramp.threads, again, holds);
    return holds;
}

// Settles a doubtful last win before the ramp may end after it; whether it stands. A win that
// does not hold is withdrawn: the pass before it is the last faster one again.
bool settledoubt(Ramp& ramp)
{
    if (!ramp.doubtful) return true;
    ramp.doubtful = false;
    if (winholds(ramp)) return true;
    ramp.threads = ramp.earlierThreads, ramp.best = ramp.earlierBest, ramp.speed = ramp.earlierSpeed;
    ramp.reportPending = false;
    return false;
}

// Whether a win falls short of what its added threads could save at best by more than a fifth
// of that and the noise of a measurement: a win that a held-up pass can still make.
bool winfarbelowbest(const Ramp& ramp, int64_t elapsed, int64_t threads)
{
    const double bestSaving = 1.0 - static_cast<double>(ramp.threads) / static_cast<double>(threads);
    const double saving = 1.0 - static_cast<double>(elapsed) / static_cast<double>(ramp.best);
    return saving < rampRecheckShare * bestSaving - rampMargin;
}

// Judges the pass on `threads` threads against the last faster one; whether it counted as
// faster. A pass that seems no faster is measured once more, as other work may have held it
// up, and a third time when those two times disagree by more than the noise. One that then
// falls short by no more than the noise (a near miss) meets the last faster pass measured once
// more, best time against best time, with a margin smaller by the slack of best times: the
// best of several times varies less than one time. A win far below what the added threads
// could save at best is measured once more too: the next pass must beat its best time, not one
// that other work held up. Before a pass that seems no faster is measured again, a doubtful
// last win is settled; one withdrawn ends the ramp. `nearMiss` tells whether the pass stayed
// a near miss.
bool judgepass(Ramp& ramp, int64_t threads, bool& nearMiss)
{
    PassTimes times;
    int64_t elapsed = measure(ramp, threads, times);
    bool faster = fasterstep(ramp, times.best, threads, 0.0, nearMiss);
    if (faster && ramp.threads > 0 && winfarbelowbest(ramp, times.best, threads)) {
        tell(ramp, threads, elapsed, false);
        elapsed = measure(ramp, threads, times);
    }
    tell(ramp, threads, elapsed, faster);
    if (!faster && !settledoubt(ramp)) {
        nearMiss = false;
        return false;
    }
    if (!faster) faster = measuredagain(ramp, threads, times, 0.0, nearMiss);
    if (!faster && static_cast<double>(times.worst) > static_cast<double>(times.best) * (1.0 + rampAgreement))
        faster = measuredagain(ramp, threads, times, 0.0, nearMiss);
    for (int round = 0; !faster && nearMiss && round < rampNearMissRounds; ++round) {
        measurelast(ramp);
        faster = measuredagain(ramp, threads, times, rampBestSlack, nearMiss);
    }
    if (faster) accept(ramp, threads, times.best);
    return faster;
}

// The end of the ramp: a doubtful last win is settled, and a line still waiting is printed.
std::pair<int64_t, double> endramp(Ramp& ramp, const std::string& line)
{
    settledoubt(ramp);
    printpending(ramp);
    logline(line);
    return {ramp.threads, ramp.speed};
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
    Ramp ramp{hooks, report};
    for (size_t i = 0; i < threadRamp.size(); ++i) {
        bool nearMiss = false;
        if (judgepass(ramp, threadRamp[i], nearMiss)) continue;
        // A near miss that stays one is judged by the next entry, against the same pass.
        if (!nearMiss || i + 1 == threadRamp.size() || !judgepass(ramp, threadRamp[i + 1], nearMiss))
            return endramp(ramp, "");
        ++i;
    }
    return endramp(ramp, "\rmaximumthreads: Result is greater or equal 96 threads.");
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
