#include "ramp_model.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double noiseShape = 1.5;

// The distributions are written out, so that a seed gives the same runs with every library.
double uniform(std::mt19937_64& random)
{
    return static_cast<double>(random() >> 11) * 0x1.0p-53;
}

double uniform(std::mt19937_64& random, double low, double high)
{
    return low + (high - low) * uniform(random);
}

double normal(std::mt19937_64& random)
{
    const double radius = std::sqrt(-2.0 * std::log(1.0 - uniform(random)));
    return radius * std::cos(2.0 * std::numbers::pi * uniform(random));
}

// Gamma of shape above 1 and scale 1 (Marsaglia and Tsang).
double gamma(std::mt19937_64& random, double shape)
{
    const double d = shape - 1.0 / 3.0, c = 1.0 / std::sqrt(9.0 * d);
    for (;;) {
        const double x = normal(random), v = std::pow(1.0 + c * x, 3);
        if (v <= 0.0) continue;
        if (std::log(1.0 - uniform(random)) < 0.5 * x * x + d - d * v + d * std::log(v)) return d * v;
    }
}

// The speed of the slowest of `items` items running at once.
double roundspeed(const RampMachine& machine, int64_t items)
{
    const int64_t busyCores = std::min(items, machine.cores);
    const double turbo = 1.0 - machine.turboDrop * static_cast<double>(busyCores) / static_cast<double>(machine.cores);
    return items > machine.cores ? machine.smtSpeed * turbo : turbo;
}

}  // namespace

int64_t rightanswer(int64_t cpus)
{
    int64_t answer = threadRamp.front();
    for (int64_t threads : threadRamp)
        if (threads <= cpus) answer = threads;
    return answer;
}

RampMachine drawmachine(const RampMachineKind& kind, std::mt19937_64& random)
{
    RampMachine machine{kind.cpus, kind.cpus, 1.0, 0.0, kind.noisy ? 0.0246 : 0.0123, kind.noisy ? 0.04 : 0.02};
    if (kind.smtTurbo) {
        if (kind.cpus % 2 == 0) machine.cores = kind.cpus / 2;
        machine.smtSpeed = uniform(random, 0.95, 1.0);
        machine.turboDrop = uniform(random, 0.10, 0.20);
    }
    return machine;
}

double modelpassseconds(const RampMachine& machine, int64_t threads)
{
    const double itemSeconds = rampWorkSeconds / static_cast<double>(threads);
    const int64_t fullRounds = threads / machine.cpus, rest = threads % machine.cpus;
    double seconds = static_cast<double>(fullRounds) * itemSeconds / roundspeed(machine, machine.cpus);
    if (rest > 0) seconds += itemSeconds / roundspeed(machine, rest);
    return seconds;
}

double passnoise(const RampMachine& machine, std::mt19937_64& random)
{
    double factor = 1.0 + machine.noiseScale * gamma(random, noiseShape);
    if (uniform(random) < machine.stallShare) factor *= uniform(random, 1.2, 2.0);
    return factor;
}

RampHooks simulatedhooks(const RampMachine& machine, std::mt19937_64& random, double& now)
{
    return RampHooks{[&now] { return now; },
                     [&machine, &random, &now](int64_t threads) {
                         now += modelpassseconds(machine, threads) * passnoise(machine, random);
                     },
                     {}};
}

RampTally simulateramps(const RampMachineKind& kind, int64_t runs, uint64_t seed)
{
    std::mt19937_64 random(seed);
    RampTally tally{runs, 0, 0.0, std::vector<int64_t>(threadRamp.size() + 1)};
    const int64_t right = rightanswer(kind.cpus);
    double totalSeconds = 0.0;
    for (int64_t run = 0; run < runs; ++run) {
        const RampMachine machine = drawmachine(kind, random);
        const double start = 800000000.0;  // about today on the absolute-time clock
        double now = start;
        const int64_t answer = maximumthreads(false, simulatedhooks(machine, random, now)).first;
        if (answer == right) ++tally.right;
        ++tally.answers[static_cast<size_t>(std::ranges::find(threadRamp, answer) - threadRamp.begin())];
        totalSeconds += now - start;
    }
    tally.meanSeconds = totalSeconds / static_cast<double>(runs);
    return tally;
}

const std::vector<int64_t>& simulatedcpus()
{
    static const std::vector<int64_t> cpus = {1, 2, 3, 4, 6, 8, 12, 16, 24, 32, 48, 56, 64, 72, 96, 128};
    return cpus;
}
