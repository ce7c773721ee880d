// What the graphic views hand on: key-downs and mouse-downs with their window number, and
// the process-wide input flags they keep up to date.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "platform/key_state.h"
#include "vxtools.h"

// A mouse-down: the point in the window's frame (origin bottom left), the buttons held
// (left 1, right 2, others upward) and the modifier bits as for keys.
struct MouseEventRecord {
    double x = 0;
    double y = 0;
    uint64_t buttons = 0;
    uint64_t modifierFlags = 0;
};

// The input flags the views keep up to date; Caps Lock's, which the key translation reads
// too, is capsLockPressed (platform/key_state.h).
extern std::atomic<bool> keyPressed;
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
