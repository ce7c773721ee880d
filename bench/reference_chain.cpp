// The plain reference of the benchmark's work: the same dependent chain of double additions,
// in a translation unit of its own.
#include <cstdint>

int64_t referencechain(int64_t count)
{
    double sum = 0.0;
    for (int64_t i = 0; i < count; ++i) sum += 1.0;
    return static_cast<int64_t>(sum);
}
