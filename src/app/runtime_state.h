// Process-wide state of the application shell: launch flags, the program hand-over and
// the case and hexadecimal tables that initvxtools builds.
#pragma once

#include "vxtools.h"

#include <array>
#include <atomic>
#include <cstdint>

extern std::atomic<bool> applicationLaunched;
extern std::atomic<bool> applicationActive;
extern std::atomic<bool> vxtoolsInitialized;

extern std::array<uint8_t, 256> upperCaseTable;
extern std::array<uint8_t, 256> lowerCaseTable;
extern std::array<uint8_t, 16> hexDigits;
extern std::array<int64_t, 256> hexValues;
