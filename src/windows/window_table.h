// The window table, the memory pool and the layout of video memory.
#pragma once

#include "vxtools.h"

#include <mutex>

// Guards the window records against being read half-changed: window creation holds it while
// it changes a record or moves video memory, the picture while it reads one, and the routines
// that change the fields the views and the auto-update read (visibility, updates). Never held
// while waiting for the GUI thread.
extern std::mutex windowRecordLock;

// Guards the bytes of video memory between the threads that draw into them (the program
// thread: glyphs, text cells, scrolls, clears) and those that read them elsewhere (the
// picture, the screen text). Drawing takes it once per routine call, never per byte, so a
// picture may show a print in progress but never a half-drawn glyph or a half-moved line.
// A reader that waits goes first: a drawer that finds one waiting lets it in before taking
// the lock again, so a program printing without pause cannot keep the picture out.
// Order: a thread that holds windowRecordLock may take this lock, never the other way round.
// Readers on other threads hold both, so the moves of window creation, made under
// windowRecordLock alone on the program thread, are covered as well.
class VideoMemoryGuard {
public:
    enum class Use { draw, read };
    explicit VideoMemoryGuard(Use use);
    ~VideoMemoryGuard();
    VideoMemoryGuard(const VideoMemoryGuard&) = delete;
    VideoMemoryGuard& operator=(const VideoMemoryGuard&) = delete;
};

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
