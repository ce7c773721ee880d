// Runs the program's own ramp on the model of ramp_model.h and prints, per CPU count, the share
// of runs that gave the right answer and the mean measured seconds per run, for plain CPUs and
// SMT + turbo, under base noise and on a noisy shared server.
//
//   ramp_simulation [runs per CPU count, 10000] [seed, 1]
#include "ramp_model.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

struct Row {
    const char* name;
    bool smtTurbo;
    bool noisy;
};

constexpr Row rows[] = {{"base noise, plain CPUs", false, false},
                        {"base noise, SMT + turbo", true, false},
                        {"noisy, plain", false, true},
                        {"noisy, SMT + turbo", true, true}};

void printheader(FILE* out, const char* title)
{
    std::fprintf(out, "| %s |", title);
    for (int64_t cpus : simulatedcpus())
        std::fprintf(out, " %s%lld |", cpus == 1 ? "C=" : "", static_cast<long long>(cpus));
    std::fprintf(out, "\n|---|");
    for (size_t i = 0; i < simulatedcpus().size(); ++i) std::fprintf(out, "---|");
    std::fprintf(out, "\n");
}

using Tallies = std::vector<std::vector<RampTally>>;  // by row, then by CPU count

void printtable(FILE* out, const Tallies& tallies, const char* title, bool seconds)
{
    printheader(out, title);
    for (size_t r = 0; r < tallies.size(); ++r) {
        std::fprintf(out, "| %s |", rows[r].name);
        for (const RampTally& tally : tallies[r]) {
            if (seconds) std::fprintf(out, " %.2f |", tally.meanSeconds);
            else std::fprintf(out, " %.1f |", 100.0 * static_cast<double>(tally.right) / static_cast<double>(tally.runs));
        }
        std::fprintf(out, "\n");
    }
}

// The wrong answers of one row and CPU count: "threads: runs", 0 threads last.
void printwrong(FILE* out, const char* name, int64_t cpus, const RampTally& tally)
{
    if (tally.right == tally.runs) return;
    std::fprintf(out, "%s, C=%lld:", name, static_cast<long long>(cpus));
    for (size_t i = 0; i < tally.answers.size(); ++i) {
        const long long answer = i < threadRamp.size() ? threadRamp[i] : 0;
        if (tally.answers[i] > 0 && answer != rightanswer(cpus))
            std::fprintf(out, " %lld: %lld", answer, static_cast<long long>(tally.answers[i]));
    }
    std::fprintf(out, "\n");
}

}  // namespace

int main(int argc, char** argv)
{
    const int64_t runs = argc > 1 ? std::atoll(argv[1]) : 10000;
    const uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    if (runs < 1) {
        std::fprintf(stderr, "usage: ramp_simulation [runs per CPU count] [seed]\n");
        return 2;
    }
    // The ramp writes its line ends on standard output: the tables go to the original one.
    FILE* out = fdopen(dup(STDOUT_FILENO), "w");
    const int nowhere = open("/dev/null", O_WRONLY);
    if (out == nullptr || nowhere < 0) return 1;
    dup2(nowhere, STDOUT_FILENO);

    Tallies tallies;
    for (const Row& row : rows) {
        tallies.emplace_back();
        for (int64_t cpus : simulatedcpus()) {
            const uint64_t kind = static_cast<uint64_t>(cpus) * 4 + (row.smtTurbo ? 1 : 0) + (row.noisy ? 2 : 0);
            tallies.back().push_back(simulateramps({cpus, row.smtTurbo, row.noisy}, runs, seed * 1000003 + kind));
        }
    }
    std::fprintf(out, "%lld runs per CPU count, seed %llu\n\n", static_cast<long long>(runs),
                 static_cast<unsigned long long>(seed));
    printtable(out, tallies, "P(answer right), %", false);
    std::fprintf(out, "\n");
    printtable(out, tallies, "measured s per run", true);
    std::fprintf(out, "\nWrong answers (threads: runs)\n");
    for (size_t r = 0; r < tallies.size(); ++r)
        for (size_t c = 0; c < simulatedcpus().size(); ++c) printwrong(out, rows[r].name, simulatedcpus()[c], tallies[r][c]);
    std::fclose(out);
    return 0;
}
