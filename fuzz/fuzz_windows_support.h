// The set-up the window fuzz targets share: an offscreen Qt application with the bundle's
// interface, no auto-update process and a silent beep, and a fresh window table per input.
#pragma once

#include "vxtools.h"

#include <fuzzer/FuzzedDataProvider.h>

// Creates the application and loads the interface; call once, from LLVMFuzzerInitialize.
void startfuzzapplication();
// Forgets every window and gives the whole pool back (the pool's bytes are left as they are).
void forgetwindows();
// Mostly small numbers, where the routines' cases lie, now and then any Int.
int64_t fuzznumber(FuzzedDataProvider& input);
