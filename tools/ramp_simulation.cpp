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
    for (int64_t cpus : simulatedcpus()) std::fprintf(out, " %s%lld |", cpus == 1 ? "C=" : "", static_cast<long long>(cpus));
    std::fprintf(out, "\n|---|");
    for (size_t i = 0; i < simulatedcpus().size(); ++i) std::fprintf(out, "---|");
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
    // The ramp writes its line ends on standard output: the table goes to the original one.
    FILE* out = fdopen(dup(STDOUT_FILENO), "w");
    const int nowhere = open("/dev/null", O_WRONLY);
    if (out == nullptr || nowhere < 0) return 1;
    dup2(nowhere, STDOUT_FILENO);

    std::vector<std::vector<RampTally>> tallies;
    for (const Row& row : rows) {
        tallies.emplace_back();
        for (int64_t cpus : simulatedcpus())
            tallies.back().push_back(simulateramps({cpus, row.smtTurbo, row.noisy}, runs,
                                                   seed * 1000003 + static_cast<uint64_t>(cpus) * 4 +
                                                       (row.smtTurbo ? 1 : 0) + (row.noisy ? 2 : 0)));
    }
    std::fprintf(out, "%lld runs per CPU count, seed %llu\n\n", static_cast<long long>(runs),
                 static_cast<unsigned long long>(seed));
    printheader(out, "P(answer right), %");
    for (size_t r = 0; r < tallies.size(); ++r) {
        std::fprintf(out, "| %s |", rows[r].name);
        for (const RampTally& tally : tallies[r])
            std::fprintf(out, " %.1f |", 100.0 * static_cast<double>(tally.right) / static_cast<double>(tally.runs));
        std::fprintf(out, "\n");
    }
    std::fprintf(out, "\n");
    printheader(out, "measured s per run");
    for (size_t r = 0; r < tallies.size(); ++r) {
        std::fprintf(out, "| %s |", rows[r].name);
        for (const RampTally& tally : tallies[r]) std::fprintf(out, " %.2f |", tally.meanSeconds);
        std::fprintf(out, "\n");
    }
    // The wrong answers, where there are any.
    std::fprintf(out, "\nWrong answers (threads: runs)\n");
    for (size_t r = 0; r < tallies.size(); ++r)
        for (size_t c = 0; c < simulatedcpus().size(); ++c) {
            const RampTally& tally = tallies[r][c];
            if (tally.right == tally.runs) continue;
            std::fprintf(out, "%s, C=%lld:", rows[r].name, static_cast<long long>(simulatedcpus()[c]));
            for (size_t i = 0; i < tally.answers.size(); ++i)
                if (tally.answers[i] > 0 && (i == threadRamp.size() || threadRamp[i] != rightanswer(simulatedcpus()[c])))
                    std::fprintf(out, " %lld: %lld", i < threadRamp.size() ? static_cast<long long>(threadRamp[i]) : 0LL,
                                 static_cast<long long>(tally.answers[i]));
            std::fprintf(out, "\n");
        }
    std::fclose(out);
    return 0;
}
