// The keyboard: key events of the graphic views for the program.
#pragma once

#include "vxtools.h"
