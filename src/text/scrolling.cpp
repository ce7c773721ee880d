// Scrolling and clearing the text area, the area itself, headers, rules and where text
// output goes.
#include "text/scrolling.h"

#include "platform/log.h"
#include "text/text_window.h"
#include "windows/video_changes.h"
#include "windows/window_table.h"

#include <algorithm>
#include <cstring>

namespace {

// Whether the graphic move [from, from + count) -> [to, to + count) stays in the window's block.
bool insideGraphicBlock(const t_Window& w, int64_t from, int64_t to, int64_t count)
{
    return count >= 0 && std::min(from, to) >= w.MemoryStart && std::max(from, to) + count <= w.MemoryEnd + 1;
}

// Moves the text area's lines by one line, as three contiguous ranges: colour plane, code
// plane and pixel rows. `up` moves lines FL + 1 ... LL up, otherwise FL ... LL - 1 down.
void moveFullLines(uint8_t window, const t_Window& w, bool up)
{
    VideoMemoryGuard guard(VideoMemoryGuard::Use::draw);  // the three ranges move as one
    const int64_t tw = w.TextWidth, fl = w.TextFirstLine, ll = w.TextLastLine;
    const int64_t fw = w.Font.Width, fh = w.Font.Height, bd = w.BitDepth, width = w.Width, ms = w.MemoryStart;
    const int64_t cp = w.TextMemoryStart + colourplaneoffset(w);
    const int64_t lineBytes = bd * fh * width / 8;
    if (up) {
        movememory(cp + tw * fl, cp + tw * fl - tw, tw * ll - tw * fl);
        movememory(w.TextMemoryStart + tw * fl, w.TextMemoryStart + tw * fl - tw, tw * ll - tw * fl);
        const int64_t src = ms + bd * fh * fl * width / 8;
        const int64_t count = ms + (fw * tw + (fh * ll - 1) * width) * bd / 8 - src;
        if (insideGraphicBlock(w, src, src - lineBytes, count)) movememory(src, src - lineBytes, count);
        notevideochange(window);
    } else {
        movememory(cp + tw * (fl - 1), cp + tw * (fl - 1) + tw, (ll - fl) * tw);
        movememory(w.TextMemoryStart + tw * (fl - 1), w.TextMemoryStart + tw * (fl - 1) + tw, (ll - fl) * tw);
        const int64_t src = ms + bd * fh * (fl - 1) * width / 8;
        const int64_t count = ms + (fw * tw + (fh * (ll - 1) - 1) * width) * bd / 8 - src;
        if (insideGraphicBlock(w, src, src + lineBytes, count)) movememory(src, src + lineBytes, count);
        notevideochange(window);
    }
}

// Redraws line `line` from the cells of line `from`, with their own colours.
void redrawLine(uint8_t window, t_Window& w, int64_t line, int64_t from)
{
    for (int64_t c = w.TextFirstColumn; c <= w.TextLastColumn; ++c) {
        int64_t cell = cellindex(w, c, from);
        if (cell < 0) continue;
        t_PrintSymbol(window, memoryPool[cell], memoryPool[cell + colourplaneoffset(w)], c, line);
    }
}

void blankLine(uint8_t window, const t_Window& w, int64_t line)
{
    for (int64_t c = w.TextFirstColumn; c <= w.TextLastColumn; ++c) t_PrintSymbol(window, 32, w.TextColor, c, line);
}

// The text window for a scroll: nothing at all is said while ScrollLock is set.
t_Window* scrollWindow(uint8_t window, const char* routine)
{
    if (window <= 7 && graphicwindowexists(window) && windowTable[window].ScrollLock) return nullptr;
    return textwindow(window, routine);
}

bool spansFullLines(const t_Window& w)
{
    return w.TextFirstColumn == 1 && w.TextLastColumn == w.TextWidth;
}

}  // namespace

void movememory(int64_t from, int64_t to, int64_t count)
{
    const auto size = static_cast<int64_t>(memoryPool.size());
    if (count < 1 || from < 0 || to < 0 || from > size - count || to > size - count) return;
    std::memmove(memoryPool.data() + to, memoryPool.data() + from, static_cast<size_t>(count));
}

void scrollcells(uint8_t window, bool up)
{
    t_Window& w = windowTable[window];
    const bool inverse = w.TextInverse;
    w.TextInverse = false;  // the colour bytes of text memory hold the colours as drawn
    if (up) {
        for (int64_t l = w.TextFirstLine; l < w.TextLastLine; ++l) redrawLine(window, w, l, l + 1);
    } else {
        for (int64_t l = w.TextLastLine; l > w.TextFirstLine; --l) redrawLine(window, w, l, l - 1);
    }
    w.TextInverse = inverse;
}

void t_ScrollUp(uint8_t window)
{
    t_Window* w = scrollWindow(window, "t_ScrollUp");
    if (w == nullptr) return;
    if (spansFullLines(*w))
        moveFullLines(window, *w, true);
    else
        scrollcells(window, true);
    blankLine(window, *w, w->TextLastLine);
}

void t_ScrollDown(uint8_t window)
{
    t_Window* w = scrollWindow(window, "t_ScrollDown");
    if (w == nullptr) return;
    if (spansFullLines(*w))
        moveFullLines(window, *w, false);
    else
        scrollcells(window, false);
    blankLine(window, *w, w->TextFirstLine);
}

void t_ClearEndOfLine(uint8_t window)
{
    t_Window* w = textwindow(window, "t_ClearEndOfLine");
    if (w == nullptr) return;
    // The cursor's own cell first: from a cursor right of the area that is all there is.
    t_PrintSymbol(window, 32, w->TextColor, w->TextHpos, w->TextVpos);
    for (int64_t c = w->TextHpos + 1; c <= w->TextLastColumn; ++c) t_PrintSymbol(window, 32, w->TextColor, c, w->TextVpos);
}

void t_ClearEndOfWindow(uint8_t window)
{
    t_Window* w = textwindow(window, "t_ClearEndOfWindow");
    if (w == nullptr) return;
    t_ClearEndOfLine(window);
    const int64_t column = w->TextHpos, line = w->TextVpos;
    if (line < w->TextLastLine) {
        w->TextHpos = w->TextFirstColumn;
        for (int64_t l = line + 1; l <= w->TextLastLine; ++l) {
            w->TextVpos = l;
            t_ClearEndOfLine(window);
        }
    }
    w->TextHpos = column;
    w->TextVpos = line;
}

void t_FullArea(uint8_t window)
{
    if (t_Window* w = createdwindow(window, "t_FullArea")) {
        w->TextFirstColumn = 1;
        w->TextLastColumn = w->TextWidth;
        w->TextFirstLine = 1;
        w->TextLastLine = w->TextHeight;
    }
}

void t_Header(uint8_t window, const std::string& left, const std::string& right)
{
    t_Window* w = textwindow(window, "t_Header");
    if (w == nullptr) return;
    const uint8_t colour = w->TextColor;
    const std::string line = justify(left, right, t_WindowPos(window, 4));
    const int64_t n = textlength(line);
    t_Print(window, n - 1 >= 1 ? midstring(line, 1, n - 1) : std::string());
    t_PrintSymbol(window, static_cast<uint8_t>(firstcode(charat(line, n)) & 0xFF), colour, w->TextHpos, w->TextVpos);
    if (t_WindowPos(window, 5) < 2)
        t_Htab(window, 1);
    else
        t_Cr(window);
}

void t_TextLine(uint8_t window)
{
    t_Window* w = textwindow(window, "t_TextLine");
    if (w == nullptr) return;
    t_TextHline(window, w->TextHpos, w->TextLastColumn, w->TextVpos, 156);
    t_Cr(window);
}

void t_TextHline(uint8_t window, int64_t first, int64_t last, int64_t line, uint8_t code)
{
    t_Window* w = textwindow(window, "t_TextHline");
    if (w == nullptr || last < first) return;
    // Cells beyond the screen are refused one by one; a rule reaching past the screen is
    // refused at its first cell on each side only, also when it lies wholly beside it.
    const auto print = [&](int64_t c) { t_PrintSymbol(window, code, w->TextColor, c, line); };
    if (first < 1) print(first);
    for (int64_t c = std::max<int64_t>(first, 1); c <= std::min(last, w->TextWidth); ++c) print(c);
    if (last > w->TextWidth) print(std::max(first, w->TextWidth + 1));
}

// Also called by the key handler on the GUI thread: the record is looked at under its lock.
void t_RedirectOutput(uint8_t window, int64_t mode)
{
    if (graphicwindowexists(window)) {
        std::lock_guard<std::mutex> guard(windowRecordLock);
        if (windowTable[window].Initialized) return setredirectmode(windowTable[window], mode);
    }
    logline(window > 7 ? std::string("t_RedirectOutput: Window is not a graphic window.")
                       : "t_RedirectOutput: Window #" + std::to_string(window) + " not initialized.");
}
