// Placement and appearance of the windows behind the runtime's window numbers.
#pragma once

#include "vxtools.h"

// The title a graphic window gets from the bundle folder `bundleFolder`: its last path
// component without ".app", with "-Grafik" appended for a window without a text screen.
std::string windowtitlefrombundle(const std::string& bundleFolder, bool hasTextScreen);
