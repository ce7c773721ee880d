// What the key translation shares with the views: the record of a key-down and the state of
// Caps Lock.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

// A key-down as the key handler reads it: the key's position, the characters it typed and
// the modifier bits (Caps Lock 0x10000, Shift 0x20000, Control 0x40000, Option 0x80000,
// Command 0x100000, numeric pad 0x200000, Help 0x400000, Function 0x800000).
struct KeyEventRecord {
    int64_t keyCode = 0;
    std::string characters;
    uint64_t modifierFlags = 0;
};

// Whether Caps Lock is on, as the last key or mouse event told; the key translation falls
// back on it where an event does not carry the X server's state.
extern std::atomic<bool> capsLockPressed;
