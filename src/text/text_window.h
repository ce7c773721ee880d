// The checks the text routines make before they touch a window, and the cells of its screen.
#pragma once

#include "vxtools.h"

// The record of graphic window `window` when it is ready for text (the runtime is ready, the
// window created, with a text screen); null after the line "<routine>: Window is not a
// graphic window." or "<routine>: Window #n not initialized.".
t_Window* textwindow(uint8_t window, const char* routine);
// The record of graphic window `window` when it is created (no text screen needed); null
// after the routine's line as above.
t_Window* createdwindow(uint8_t window, const char* routine);

// The pool index of the code byte of cell (column, line), and the offset of its colour byte
// from there; -1 for a cell outside the window's text screen or text block.
int64_t cellindex(const t_Window& w, int64_t column, int64_t line);
int64_t colourplaneoffset(const t_Window& w);

// Writes the character of code (0 ... 255) to standard output, UTF-8 encoded.
void writecharacter(int64_t code);
