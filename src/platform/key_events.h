// Key records from Qt's key events: the key's position in the numbering of the runtime's key
// table (that of the classic desktop keyboard: A is 0, the left arrow 123), the characters
// typed, with the private-use characters U+F700 ... of cursor, paging, function and help
// keys, and the modifier bits.
#pragma once

#include "platform/key_state.h"

#include <QtCore/qnamespace.h>

#include <cstdint>

class QKeyEvent;

// The key position of an X11 key code (evdev code + 8); -1 for a key without one.
int64_t keypositionfromx11(uint32_t keycode);
// The key position of a Qt key (Qt::Key) where no scan code is known; -1 when there is none.
int64_t keypositionfromqtkey(int key, bool keypad);
// The private-use character of a cursor, paging, function or help key (Qt::Key); 0 for others.
uint32_t functionkeycharacter(int key);

// The modifier bits of Qt's modifiers: Shift, Control (Ctrl), Option (Alt, AltGr), Command
// (Meta), numeric pad (keypad).
uint64_t modifierbits(Qt::KeyboardModifiers modifiers);

KeyEventRecord keyrecordfromqt(const QKeyEvent& event);
// A key-down as it types: its key record, with the character a dead key or compose sequence
// makes with this key, and whether it types at all (the middle of a compose sequence does not).
struct TypedKey {
    KeyEventRecord record;
    bool types = true;
};
TypedKey typedkeyfromqt(const QKeyEvent& event);
// The modifier bits after a modifier key went down or up, Caps Lock included.
uint64_t flagschangedbits(const QKeyEvent& event);
// The modifier bits of a mouse event: Qt's modifiers and Caps Lock as it stands.
uint64_t pointermodifierbits(Qt::KeyboardModifiers modifiers);
// Whether the event is of a modifier key alone (Shift, Control, Alt, Caps Lock, ...): such a
// key changes the modifier flags and types nothing, as do the keyboard's lock, latch and
// layout-switch keys. NumLock is the pad's Clear key.
bool ismodifierkey(const QKeyEvent& event);
