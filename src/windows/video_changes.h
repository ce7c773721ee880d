// Changes of video memory: each graphic window counts the changes the runtime's drawing
// routines make to its graphic memory, so that the auto-update process redisplays only
// windows whose picture would differ from the one shown.
#pragma once

#include <cstdint>

// Notes that window `window`'s graphic memory has changed; called after the bytes are written.
// Costs one atomic increment; wakes the auto-update process when it waits for changes.
void notevideochange(uint8_t window);
// How many changes window `window`'s graphic memory has had; 0 for a number above 7.
uint64_t videochanges(uint8_t window);

// The change count that the picture shown (or asked for) last in window `window`'s view has.
uint64_t picturedchanges(uint8_t window);
void notepictured(uint8_t window, uint64_t changes);

// Whether window `window`'s memory changed since its last picture.
bool videochanged(uint8_t window);

// Set by the auto-update process while it waits with nothing to do but a change to show:
// the next change then wakes it (auto-update).
void wakeonvideochange(bool wake);
