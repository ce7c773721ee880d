// A model of the ramp's pass times on machines we cannot run on, from 1 CPU to 128, and runs
// of the program's own `maximumthreads` on it with a simulated clock.
//
// A pass of n items on C CPUs runs in rounds of at most C items; a round of m items takes
// (W / n) / speed of its slowest item, W = 1.33 s being the whole work on one CPU here. With
// SMT and turbo, C = 2 × cores (an odd C has no SMT): the items of a round fill the cores one
// each first, an item that shares its core runs at `smtSpeed`, and all items run slower by
// `turboDrop` × busy cores / cores. Every measured pass is multiplied by 1 + Gamma(1.5, scale)
// and, for a share of the passes, by a stall of 1.2 ... 2.0.
#pragma once

#include "app/benchmark.h"

#include <cstdint>
#include <random>
#include <vector>

constexpr double rampWorkSeconds = 1.33;

// The kind of machine and load a run is drawn from.
struct RampMachineKind {
    int64_t cpus;
    bool smtTurbo;
    bool noisy;  // a busy shared server: twice the scale of noise, twice the stalls
};

// One machine of a kind, as drawn for one run.
struct RampMachine {
    int64_t cpus;
    int64_t cores;
    double smtSpeed;   // 1 without SMT
    double turboDrop;  // 0 without turbo
    double noiseScale;
    double stallShare;
};

// The result of many runs on one kind of machine.
struct RampTally {
    int64_t runs;
    int64_t right;
    double meanSeconds;  // measured seconds per run, all measurements of the ramp together
    std::vector<int64_t> answers;  // runs per answer, by index in the ramp; 0 threads is the last
};

// The answer the ramp should give on `cpus` CPUs: the largest entry of the ramp not above it.
int64_t rightanswer(int64_t cpus);
// A machine of `kind`, its SMT speed and turbo drawn from `random`.
RampMachine drawmachine(const RampMachineKind& kind, std::mt19937_64& random);
// The time in seconds of a pass on `threads` threads, without noise.
double modelpassseconds(const RampMachine& machine, int64_t threads);
// The noise factor of one measured pass (1 + Gamma noise, times a stall now and then).
double passnoise(const RampMachine& machine, std::mt19937_64& random);
// Hooks that run `maximumthreads` on `machine`: a clock that only the passes move on.
RampHooks simulatedhooks(const RampMachine& machine, std::mt19937_64& random, double& now);
// `runs` ramps on machines of `kind`, drawn from `seed`; the log lines of the ramp go to
// standard output as usual.
RampTally simulateramps(const RampMachineKind& kind, int64_t runs, uint64_t seed);

// The CPU counts the simulation reports on.
const std::vector<int64_t>& simulatedcpus();
