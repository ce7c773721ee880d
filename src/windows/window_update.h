// Redisplaying windows: on request, by the auto-update process, and reading the text screen.
#pragma once

#include "vxtools.h"

// Whether the view of window `window` takes its picture as a whole (the layer path) rather
// than drawing it: false before the runtime is ready or while the window is not created.
bool wantsupdatelayer(uint8_t window);
// Sets window `window`'s VerticalBlank, once the runtime is ready.
void setverticalblank(uint8_t window, bool value);
// One pass of the auto-update process over the eight windows; how many views it asked to
// redisplay.
int64_t autoupdatepass();

// Tells the auto-update process that something it waits for may have changed: a window's
// AutoUpdate or visibility, a new window, the end of a program thread, a change to show.
void autoupdatewake();
// Whether window `window`'s view is on the screen (shown, not minimized); the window system
// tells the views. Views count as on the screen until told otherwise.
void setviewonscreen(uint8_t window, bool onScreen);
