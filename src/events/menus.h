// Menu selections: the built-in actions, the menu event queue and the program's menu handler.
#pragma once

#include "platform/menus.h"
#include "vxtools.h"

// Handles a chosen menu item: performs its built-in action when its tag has one, queues the
// selection and otherwise calls the program's menu handler on a worker. GUI thread.
void t_MenuEventHandler(const MenuItemInfo& item);
// Registers the built-in actions and removes the items the desktop adds to the Edit and
// Window menus; run once when the runtime starts.
void preparemenus();
// The text of a text screen for the clipboard: the runtime's graphic characters 127 ... 160
// become the ASCII characters that look like them.
std::string graphictexttoascii(const std::string& text);
