// The lookups between window numbers and the interface's windows and views.
//
// Numbers 0 ... 7 are graphic windows, 8 the pasteboard, 9 the virtual printer, 10 the
// system console, 11 the preferences window and 12 the main window; 255 is no window.
// Each lookup may be called from any thread; it reads the interface on the GUI thread.
#pragma once

#include "vxtools.h"

constexpr uint8_t noWindow = 255;

// The view of graphic window `number`; null for other numbers or a missing view.
QWidget* windowview(uint8_t number);
// The window of `number`: the side, preferences and main windows, or the window that holds
// a graphic window's view; null when there is none.
QWidget* windowobject(uint8_t number);
// The number of `window`, 255 when it is no runtime window.
uint8_t windowNumberForWindow(QWidget* window);
// The text view of side window `number` (8, 9 or 10); null for other numbers.
QWidget* windowtextview(uint8_t number);
// The number of the frontmost runtime window, 255 when there is none.
uint8_t mainwindownumber();
// The window that brings the application back to the screen: the window activated last, else
// graphic window 0 once it is created, else the main window (12). Runs on the GUI thread.
uint8_t windowtoshowagain();
