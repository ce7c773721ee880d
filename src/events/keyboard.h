// Key events of the graphic views: the runtime's character and control codes, the key queue
// and the pause on Control-S.
#pragma once

#include "events/view_events.h"
#include "vxtools.h"

// Key positions (the numbering the key table uses) of the keys it names.
namespace keycode {
constexpr int64_t tab = 48, backspace = 51, keypadClear = 71, keypadEnter = 76;
constexpr int64_t keypad0 = 82, keypad7 = 89, keypad8 = 91, keypad9 = 92;
constexpr int64_t home = 115, pageUp = 116, forwardDelete = 117, end = 119, pageDown = 121;
constexpr int64_t left = 123, right = 124, down = 125, up = 126;
}  // namespace keycode

// Turns a key-down of window `window` into a key event: the key table, then the general rule
// on the first character. Control + numeric pad 7, 8, 9 switch the window's output instead.
void t_KeyEventHandler(int64_t window, const KeyEventRecord& key);

// The value a key-down gives (first: whether it gives an event at all), and whether it is a
// cursor or a function key; the redirection of Control + numeric pad is not made here.
struct KeyValue {
    bool event = false;
    int64_t value = 0;
    bool cursorKey = false;
    bool functionKey = false;
    int64_t redirect = -1;  // the output mode Control + numeric pad 7, 8, 9 asks for
};
KeyValue keyvalue(int64_t keyCode, const std::string& characters, uint64_t modifierFlags);
