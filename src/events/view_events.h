// What the graphic views hand on: key-downs and mouse-downs with their window number, and
// the process-wide input flags they keep up to date.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "vxtools.h"

// A key-down as the key handler reads it: the key's position, the characters it typed and
// the modifier bits (Caps Lock 0x10000, Shift 0x20000, Control 0x40000, Option 0x80000,
// Command 0x100000, numeric pad 0x200000, Help 0x400000, Function 0x800000).
struct KeyEventRecord {
    int64_t keyCode = 0;
    std::string characters;
    uint64_t modifierFlags = 0;
};

// A mouse-down: the point in the window's frame (origin bottom left), the buttons held
// (left 1, right 2, others upward) and the modifier bits as for keys.
struct MouseEventRecord {
    double x = 0;
    double y = 0;
    uint64_t buttons = 0;
    uint64_t modifierFlags = 0;
};

extern std::atomic<bool> keyPressed;
extern std::atomic<bool> capsLockPressed;
extern std::atomic<bool> shiftPressed;
extern std::atomic<bool> controlPressed;
extern std::atomic<bool> optionPressed;
extern std::atomic<bool> commandPressed;
extern std::atomic<bool> fnPressed;
extern std::atomic<bool> leftMouseButtonPressed;
extern std::atomic<bool> rightMouseButtonPressed;

// Sets the six modifier flags from modifier bits.
void setmodifierflags(uint64_t modifierFlags);
// Fills an event's Mods and its eight modifier Bools from modifier bits.
void setmodifierfields(t_Event& event, uint64_t modifierFlags);
void viewKeyDown(int64_t window, const KeyEventRecord& key);
void viewKeyUp();
void viewMouseDown(int64_t window, const MouseEventRecord& mouse, bool right);
void viewMouseUp();
