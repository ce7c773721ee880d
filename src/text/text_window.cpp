#include "text/text_window.h"

#include "platform/log.h"
#include "windows/window_table.h"

namespace {

t_Window* checkedWindow(uint8_t window, const char* routine, bool needsTextScreen)
{
    if (window > 7) {
        logline(std::string(routine) + ": Window is not a graphic window.");
        return nullptr;
    }
    if (graphicwindowexists(window)) {
        t_Window& w = windowTable[window];
        if (w.Initialized && (!needsTextScreen || w.TextMemoryStart >= 0)) return &w;
    }
    logline(std::string(routine) + ": Window #" + std::to_string(window) + " not initialized.");
    return nullptr;
}

}  // namespace

t_Window* textwindow(uint8_t window, const char* routine)
{
    return checkedWindow(window, routine, true);
}

t_Window* createdwindow(uint8_t window, const char* routine)
{
    return checkedWindow(window, routine, false);
}

int64_t colourplaneoffset(const t_Window& w)
{
    return (w.TextMemoryEnd - w.TextMemoryStart + 1) / 2;
}

int64_t cellindex(const t_Window& w, int64_t column, int64_t line)
{
    if (w.TextMemoryStart < 0 || column < 1 || line < 1 || column > w.TextWidth || line > w.TextHeight) return -1;
    int64_t offset = (line - 1) * w.TextWidth + (column - 1);
    int64_t plane = colourplaneoffset(w);
    if (offset >= plane || w.TextMemoryStart + plane + offset >= static_cast<int64_t>(memoryPool.size())) return -1;
    return w.TextMemoryStart + offset;
}

void writecharacter(int64_t code)
{
    std::string character;
    if (code < 128) {
        character.push_back(static_cast<char>(code));
    } else {
        character.push_back(static_cast<char>(0xC0 | (code >> 6)));
        character.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
    logtext(character);
}
