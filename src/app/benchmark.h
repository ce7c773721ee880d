// The benchmark: how many threads the machine runs in parallel, and how fast it adds.
//
// The same work, 10^9 additions of 1.0, is split over 1, 2, 4, ... 96 threads; the first
// pass that is not faster than the one before ends the ramp, and the thread count of the
// last faster pass is the answer. Passes that other work may have held up are measured
// again (see the shares below and docs/decisions.md).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

constexpr std::array<int64_t, 23> threadRamp = {1,  2,  4,  6,  8,  10, 12, 16, 20, 24, 28, 32,
                                                36, 40, 44, 48, 52, 56, 60, 64, 72, 80, 96};
constexpr int64_t totalAdditions = 1000000000;
// Two passes of equal speed differ by the noise of the measurement. A pass counts as faster
// only when it takes less time than the previous one by more than this share of it, and by
// more than `rampStepShare` of what its added threads could save at best (1 - n / m). Added
// threads that the machine runs in parallel save about all of that; threads it cannot run
// at once save nothing, as their work waits for a CPU. Half-way between the two is where
// noise is least likely to decide.
constexpr double rampMargin = 0.04;
constexpr double rampStepShare = 0.5;
// A pass that falls short of that margin by no more than this share of the previous time is a
// near miss: it meets the previous pass measured again, best time against best time, up to
// `rampNearMissRounds` times, with the margin smaller by `rampBestSlack`, as the best of
// several times varies less than one time. One that stays a near miss is judged by the next
// entry of the ramp against the same previous pass.
constexpr double rampNearMissBand = 0.08;
constexpr double rampBestSlack = 0.02;
constexpr int rampNearMissRounds = 2;
// Two times of a pass that seems no faster which differ by more than this share: one of them
// was held up by other work, and the pass is measured a third time.
constexpr double rampAgreement = 0.12;
// A win below `rampRecheckShare` of what its added threads could save at best, less the
// margin, is measured once more: other work may have held the pass up, and the next pass must
// beat its best time. A win below `rampTrustShare` of it, and short of it by more than the
// margin, is doubtful: a previous pass held up can make it. When the ramp would end right
// after it, the pass before it is measured once more, and a win that does not hold against
// that is withdrawn.
constexpr double rampRecheckShare = 0.8;
constexpr double rampTrustShare = 0.91;

// One measurement of the ramp: the pass's thread count, its time in microseconds and whether
// it counted as faster than the pass before. A pass measured again gives a record for each
// time; only the measurement that settled the pass as faster says so. A pass before the last
// one measured again for comparison is not faster, and a doubtful win withdrawn at the end
// is told as a last measurement of its pass that is not faster.
struct RampPass {
    int64_t threads;
    int64_t elapsed;
    bool faster;
};

// What a ramp needs from the outside: the absolute-time clock in seconds, and a pass that
// runs the work on `threads` threads and returns when all are done. `measured`, when set,
// hears of every measurement in the order they were made.
struct RampHooks {
    std::function<double()> clock;
    std::function<void(int64_t threads)> runPass;
    std::function<void(const RampPass&)> measured;
};

// The real ramp's hooks: the system clock and passes on the worker pool.
RampHooks poolramphooks();

// Runs the ramp on the worker pool; with `report` each faster pass prints a line into
// t_FirstWindow. Returns the thread count and the speed in GFLOPs of the last faster pass.
std::pair<int64_t, double> maximumthreads(bool report);
std::pair<int64_t, double> maximumthreads(bool report, const RampHooks& hooks);

// GFLOPs of a pass of `elapsed` microseconds: 10^9 additions in that time, in 10^9 per second.
double passspeed(int64_t elapsed);
// The report line of a pass in the three parts printed one after the other:
// "1.234 ms. =  4 Thread", "s" (a blank for one thread) and " =  0,81 GFLOPs".
std::array<std::string, 3> passreport(int64_t elapsed, int64_t threads);
// The share of the previous pass's time that a pass on `threads` threads must save, after one
// on `previousThreads` (0 before the first pass).
double rampmargin(int64_t previousThreads, int64_t threads);
// Whether a pass of `elapsed` microseconds on `threads` threads beats a previous one of
// `previous` microseconds on `previousThreads` threads by more than the margin.
bool passisfaster(int64_t elapsed, int64_t previous, int64_t previousThreads, int64_t threads);

// Adds 1.0 `count` times, one dependent addition after the other, and writes one character
// on standard output: "." for a positive sum, "-" for 0, "," for a negative one.
void benchmarkworker(int64_t count);
// The sum of `count` dependent additions of 1.0 in one register-held double, truncated.
int64_t additionchain(int64_t count);
