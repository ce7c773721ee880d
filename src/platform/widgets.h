// Geometry and visibility of the interface's widgets, in the runtime's terms: frames are in
// points with the origin at the bottom left (of the screen for windows, of the parent for
// the widgets inside them). Every routine here runs on the GUI thread.
#pragma once

#include "vxtools.h"

class QWidget;

// A window's frame is its client area (the menu bar included) on its screen; the frame of
// a widget inside a window is its rectangle in its parent. A null widget has a zero frame.
t_Rect widgetframe(QWidget* widget);
// Gives a widget inside a window a new size. Its top edge stays where it is: the widgets of
// the side windows are pinned to the top of their window, as a ruler above its text is.
void setwidgetsize(QWidget* widget, double width, double height);
// Moves a widget inside a window so that its bottom left corner is at (x, y) of its parent.
void setwidgetorigin(QWidget* widget, double x, double y);

// The window that holds `widget`; null for a null widget.
QWidget* widgetwindow(QWidget* widget);
// The runtime window activated last that is still visible, or null.
QWidget* frontmostwindow();
// Remembers `window` as activated now.
void notewindowactivated(QWidget* window);
void hidewindow(QWidget* window);

// Ends the event loop; the application then terminates.
void quitapplication();
