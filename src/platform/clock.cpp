#include "platform/clock.h"

#include <time.h>

// Seconds from 1970-01-01 to 2001-01-01.
static constexpr double referenceDateOffset = 978307200.0;

double absolutetime()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<double>(now.tv_sec) - referenceDateOffset + now.tv_nsec / 1e9;
}
