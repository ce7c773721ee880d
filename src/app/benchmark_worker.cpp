// The benchmark's work: one dependent chain of double additions. This file is built without
// fast-math or contraction, so that the compiler keeps every addition, in order, in one
// register (check with: objdump -d --no-show-raw-insn on additionchain: one addsd per turn).
#include "app/benchmark.h"

#include "platform/log.h"

int64_t additionchain(int64_t count)
{
    double sum = 0.0;
    for (int64_t i = 0; i < count; ++i) sum += 1.0;
    return static_cast<int64_t>(sum);
}

void benchmarkworker(int64_t count)
{
    const int64_t sum = count == 1 ? 1 : additionchain(count);
    logtext(sum > 0 ? "." : sum == 0 ? "-" : ",");
}
