// The program thread and background work: startprocess, runAsync and thread numbers.
#pragma once

#include "vxtools.h"

#include <string>

// The number in a thread description: the text between "number = " and the next ",",
// read as a decimal number with an optional "-"; 0 when the description has no such text.
int64_t threadnumberfromdescription(const std::string& description);

// Program threads started by startprocess that have not ended yet.
int64_t runningprogramthreads();

// Whether the calling thread is running work started with runAsync (a handler's call-out, the
// auto-update process) rather than a program thread.
bool incallout();
// Ends the calling thread's runAsync work at once; the worker goes on with the next work.
// Only for a thread where incallout() is true.
[[noreturn]] void endcallout();
