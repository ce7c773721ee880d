// The window table, the memory pool and the layout of video memory.
#pragma once

#include "vxtools.h"

#include <mutex>

// Guards the window records against being read half-changed: window creation holds it while
// it changes a record or moves video memory, the picture while it reads one, and the routines
// that change the fields the views and the auto-update read (visibility, updates). Never held
// while waiting for the GUI thread.
extern std::mutex windowRecordLock;

// A window's output redirection (TextRedirectOutput): the key handler switches it on the GUI
// thread while the program prints, so it is written under the record lock and read whole.
int64_t redirectmode(const t_Window& w);
void setredirectmode(t_Window& w, int64_t mode);

// Bytes per row of graphic memory at `bitDepth` for `width` pixels; 0 for other depths.
int64_t bytesperrow(int64_t bitDepth, int64_t width);

// Builds the pool and the table unless that has begun, and waits until they are ready.
void ensurememory();

// Whether `window` names a graphic window whose record exists (the table is built).
bool graphicwindowexists(uint8_t window);
