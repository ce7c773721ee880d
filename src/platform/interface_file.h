// The interface file: a Qt Designer file with the application's windows, views and menus.
#pragma once

#include <string>
#include <vector>

struct AppDelegate;
class QMenu;
class QWidget;

// Loads the interface file at `path`: every window in it becomes a top-level window with the
// application's menus in its menu bar, and the delegate's outlets are connected by object
// name (a missing one stays null). Window and menu events go to the delegate. Returns false
// when the file cannot be loaded.
bool loadinterface(const std::string& path, AppDelegate& delegate);

// The windows the loaded interface files made, in the order of the files.
std::vector<QWidget*> interfacewindows();
// The menus of the loaded interface files, which every window's menu bar shows.
std::vector<QMenu*> interfacemenus();
