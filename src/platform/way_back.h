// The way back to an application none of whose windows is visible. Where the desktop has a
// system tray, a tray icon carries the application's menus and brings its window back when
// clicked; and everywhere a second start of the program on the same display brings the window
// of the running one back and ends. Every routine here runs on the GUI thread.
#pragma once

#include <functional>
#include <vector>

class QMenu;

// Whether this program already runs for this user on this display: it is asked to show its
// window then, and true is returned.
bool showrunninginstance();
// Gives the application its way back: the tray icon with `menus` where there is a tray, and
// listening for a second start. `show` brings a window back. Nothing happens on a platform
// without a display.
void setupwayback(const std::vector<QMenu*>& menus, std::function<void()> show);
