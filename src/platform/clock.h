// The absolute-time clock: seconds since 2001-01-01 00:00 UTC, from the system clock.
#pragma once

double absolutetime();
