// The program thread and background work: startprocess, runAsync and thread numbers.
#pragma once

#include "vxtools.h"

#include <string>

// The number in a thread description: the text between "number = " and the next ",",
// read as a decimal number with an optional "-"; 0 when the description has no such text.
int64_t threadnumberfromdescription(const std::string& description);

// Program threads started by startprocess that have not ended yet.
int64_t runningprogramthreads();
