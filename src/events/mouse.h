// Mouse-downs of the graphic views, the mouse queue and the close box.
#pragma once

#include "events/view_events.h"
#include "vxtools.h"

// Turns a mouse-down at window point (x, y) (origin bottom left) into a mouse event with the
// click's column and row in the window's picture, then calls the program's mouse handler.
void t_MouseEventHandler(int64_t window, const MouseEventRecord& mouse, double x, double y);
// A close box hides its window instead of closing it.
void t_MouseEventPostCloseBoxClick(uint8_t window);
// The column or row of a click `position` in a picture of `size` pixels: -1 before it, -2 beyond.
int64_t clippedclick(int64_t position, int64_t size);
