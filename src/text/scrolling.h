// Scrolling the text area. t_ScrollUp and t_ScrollDown move an area of full lines as three
// contiguous byte ranges and redraw narrower areas cell by cell.
#pragma once

#include "vxtools.h"

// Moves the area's lines one line up or down by redrawing every cell from text memory, the
// path of areas narrower than the screen. The line left behind is not blanked. The caller
// has checked the window.
void scrollcells(uint8_t window, bool up);
