// The text cursor and printing: strings and codes at the cursor, control codes, tabs, and
// the cursor's moves with wrapping and scrolling at the edges of the text area.
#include "app/graphemes.h"
#include "events/keyboard.h"
#include "events/sound.h"
#include "platform/log.h"
#include "text/text_window.h"
#include "windows/window_table.h"

#include <algorithm>

namespace {

constexpr int64_t controlS = 19;

// Prints the symbol of a code the display mode gave, or "?" for one beyond the font's codes.
void printMapped(uint8_t window, t_Window& w, const t_DisplayModeResult& mapped)
{
    int64_t code = mapped.code;
    if (code >= 256) {
        if (w.TextDisplayMode == 4) t_Color(window, 1);
        code = '?';
    }
    if (code >= 0) {
        t_PrintSymbol(window, static_cast<uint8_t>(code), w.TextColor, w.TextHpos, w.TextVpos);
        t_CursorRight(window);
    }
    w.TextInverse = mapped.inverse;
    w.TextColor = mapped.colour;
}

bool readyForControl(uint8_t window)
{
    return graphicwindowexists(window) && windowTable[window].Initialized && windowTable[window].TextMemoryStart >= 0;
}

void performControl(uint8_t window, t_Window& w, uint8_t code)
{
    switch (code) {
    case 7: playBeep(); break;
    case 8: t_CursorLeft(window); break;
    case 10: t_CursorDown(window); break;
    case 11: t_ClearEndOfWindow(window); break;
    case 12:
        t_CursorHome(window);
        t_ClearEndOfWindow(window);
        break;
    case 13: t_Cr(window); break;
    case 14: t_Normal(window); break;
    case 15: t_Inverse(window); break;
    case 17: t_Reverse(window); break;
    case 18: t_Htab(window, 1); break;
    case 19: w.TextDisplayMode = 0; break;
    case 20: w.TextDisplayMode = 1; break;
    case 22: t_ScrollDown(window); break;
    case 23: t_ScrollUp(window); break;
    case 25: t_CursorHome(window); break;
    case 26:
        t_Htab(window, 1);
        t_ClearEndOfLine(window);
        break;
    case 27: w.TextDisplayMode = 99; break;
    case 28: t_CursorRight(window); break;
    case 29: t_ClearEndOfLine(window); break;
    case 30: t_CursorUp(window); break;
    case 31: w.TextDisplayMode = 2; break;
    default: break;
    }
}

}  // namespace

void t_Print(uint8_t window, const std::string& text)
{
    t_Window* w = textwindow(window, "t_Print");
    if (w == nullptr) return;
    if (w->Font.Data.empty()) {
        logline("t_Print: Window #" + std::to_string(window) + " has no text font.");
        return;
    }
    for (const ScalarAt& scalar : utf8scalars(text)) {
        const int64_t u = scalar.code < 0 ? 0xFFFD : scalar.code;  // a stray byte shows as "?"
        if (u < 32 && w->TextDisplayMode < 3) {
            if (u == 13) t_PauseOnKey(controlS, true);
            t_PrintControl(window, static_cast<uint8_t>(u));
            continue;
        }
        printMapped(window, *w, t_ApplyDisplayMode(window, u));
    }
    t_PauseOnKey(controlS, true);
}

void t_PrintChar(uint8_t window, uint8_t code)
{
    t_Window* w = textwindow(window, "t_PrintChar");
    if (w == nullptr) return;
    t_DisplayModeResult mapped = t_ApplyDisplayMode(window, code);
    if (mapped.code >= 0 && mapped.code <= 255) {
        t_PrintSymbol(window, static_cast<uint8_t>(mapped.code), w->TextColor, w->TextHpos, w->TextVpos);
        t_CursorRight(window);
    }
    w->TextInverse = mapped.inverse;
    w->TextColor = mapped.colour;
}

void t_PrintControl(uint8_t window, uint8_t code)
{
    if (window > 7) {
        logline("t_PrintControl: Window is not a graphic window.");
        return;
    }
    const auto refuse = [window] { logline("t_PrintControl: Window #" + std::to_string(window) + " not initialized."); };
    if (!memoryInitialized) return refuse();
    t_Window& w = windowTable[window];
    const int64_t redirect = redirectmode(w);
    if (readyForControl(window) && redirect == 1) return performControl(window, w, code);
    if (redirect == 2)
        writecharacter(code);
    else if (redirect == 1)
        refuse();
}

void t_PrintTab(uint8_t window, int64_t column, uint8_t fill)
{
    t_Window* w = textwindow(window, "t_PrintTab");
    if (w == nullptr) return;
    int64_t count;
    if (__builtin_sub_overflow(column, w->TextHpos, &count) || count < 1) return;
    // From the second fill on every code is drawn alike, so once the cursor has reached the
    // last line and gone through the area twice, the screen and the cursor repeat with every
    // line of the area: further whole lines change nothing and are left out.
    const int64_t lineLength = std::max<int64_t>(1, w->TextLastColumn - w->TextFirstColumn + 1);
    const int64_t widest = std::max(lineLength, w->TextWidth);
    const int64_t settled = (2 * w->TextHeight + 3) * widest + 1;  // screens have at most 8192 x 8192 cells
    if (count > settled) count = settled + (count - settled) % lineLength;
    for (; count >= 1; --count) t_PrintChar(window, fill);
}

void t_Htab(uint8_t window, int64_t column)
{
    t_Window* w = textwindow(window, "t_Htab");
    if (w == nullptr) return;
    if (column >= 1 && column <= w->TextWidth - w->TextFirstColumn + 1) w->TextHpos = column + w->TextFirstColumn - 1;
}

void t_Cr(uint8_t window)
{
    t_Window* w = textwindow(window, "t_Cr");
    if (w == nullptr) return;
    w->TextHpos = w->TextFirstColumn;
    if (++w->TextVpos > w->TextLastLine) {
        t_ScrollUp(window);
        --w->TextVpos;
    }
}

void t_CursorHome(uint8_t window)
{
    if (t_Window* w = textwindow(window, "t_CursorHome")) {
        w->TextHpos = w->TextFirstColumn;
        w->TextVpos = w->TextFirstLine;
    }
}

void t_CursorEnd(uint8_t window)
{
    if (t_Window* w = textwindow(window, "t_CursorEnd")) {
        w->TextHpos = w->TextLastColumn;
        w->TextVpos = w->TextLastLine;
    }
}

void t_CursorRight(uint8_t window)
{
    t_Window* w = textwindow(window, "t_CursorRight");
    if (w != nullptr && ++w->TextHpos > w->TextLastColumn) t_Cr(window);
}

void t_CursorLeft(uint8_t window)
{
    t_Window* w = textwindow(window, "t_CursorLeft");
    if (w == nullptr || --w->TextHpos >= w->TextFirstColumn) return;
    w->TextHpos = w->TextLastColumn;
    t_CursorUp(window);
}

void t_CursorDown(uint8_t window)
{
    t_Window* w = textwindow(window, "t_CursorDown");
    if (w != nullptr && ++w->TextVpos > w->TextLastLine) {
        t_ScrollUp(window);
        --w->TextVpos;
    }
}

void t_CursorUp(uint8_t window)
{
    t_Window* w = textwindow(window, "t_CursorUp");
    if (w != nullptr && --w->TextVpos < w->TextFirstLine) {
        t_ScrollDown(window);
        ++w->TextVpos;
    }
}
