// The application's menus: the menus of a window's menu bar, found by title, and what a
// chosen item tells. Every routine here runs on the GUI thread.
#pragma once

#include <cstdint>
#include <string>

class QAction;
class QWidget;

// What a menu item tells about itself: its menu's title (when it is in a menu), its title
// without the mnemonic "&", its key equivalent (the key, lower case) with the modifier bits
// (Shift 0x20000, Control 0x40000, Option 0x80000, Command 0x100000) and its integer tag.
struct MenuItemInfo {
    bool inMenu = false;
    std::string menuTitle;
    std::string itemTitle;
    std::string keyChar;
    uint64_t keyMods = 0;
    int64_t tag = 0;
};

MenuItemInfo menuiteminfo(QAction* item);

// The number of items of the menu titled `menu` in the menu bar of `window`; -1 without such
// a menu (or without a window with a menu bar).
int64_t menuitemcount(QWidget* window, const std::string& menu);
// The title of the item at `position` (separators have the empty title).
std::string menuitemtitle(QWidget* window, const std::string& menu, int64_t position);
// Removes the item at `position` from the menu, and so from every window's menu bar.
void removemenuitem(QWidget* window, const std::string& menu, int64_t position);
