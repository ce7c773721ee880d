// Leak checks for builds under AddressSanitizer. Its own check at exit never comes where the
// process ends with _Exit while runtime threads still run (the application, the GUI tests).
#pragma once

// Runs LeakSanitizer's check now in a build that has it with leak detection on: true when it
// found leaks, which it has reported on standard error. False, doing nothing, in other builds.
bool leaksfound();
