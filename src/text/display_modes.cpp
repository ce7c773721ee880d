// Text attributes and display modes: how each printed code is mapped, and the escape
// sequences that set colours, the border and tab stops.
#include "text/text_window.h"
#include "windows/window_table.h"

namespace {

constexpr int64_t escapePending = 99;

// The escape parameter `code` of window `w`: performs it and gives the result, or the code
// itself (drawn as it is, the escape still pending) for a code that is no parameter.
t_DisplayModeResult escapeParameter(uint8_t window, t_Window& w, int64_t code, bool inverse, uint8_t colour)
{
    const t_DisplayModeResult done{-1, inverse, colour};
    if (code >= 64 && code <= 79) {
        w.TextDisplayMode = 0;
        return {-1, inverse, static_cast<uint8_t>((code * 16) % 256 + (colour & 15))};
    }
    if (code >= 80 && code <= 95) {
        w.TextDisplayMode = 0;
        return {-1, inverse, static_cast<uint8_t>((colour & 240) + code - 80)};
    }
    if (code == 101 || code == 102 || (code >= 105 && code <= 107) || (code >= 110 && code <= 127)) {
        w.TextDisplayMode = 0;
    } else {
        return {code, inverse, colour};
    }
    if (code == 101) {
        t_CursorEnd(window);
    } else if (code == 102) {
        t_Htab(window, w.TextWidth - w.TextFirstColumn + 1);
    } else if (code >= 110) {
        t_ColorBorder(window, code - 110);
    } else {
        const int64_t n = code == 105 ? 10 : code == 106 ? 20 : 40;
        const int64_t stop = w.TextHpos / n * n + n + 1;
        if (w.TextWidth - w.TextFirstColumn + 1 < stop) {
            t_ClearEndOfLine(window);
            t_Cr(window);
        } else {
            t_PrintTab(window, stop, 32);
        }
    }
    return done;
}

}  // namespace

t_DisplayModeResult t_ApplyDisplayMode(uint8_t window, int64_t code)
{
    t_Window* ready = textwindow(window, "t_ApplyDisplayMode");
    if (ready == nullptr) return {-2, false, 240};
    t_Window& w = *ready;
    const bool inverse = w.TextInverse;
    const uint8_t colour = w.TextColor;
    switch (w.TextDisplayMode) {
    case 1:
        if (code >= 32 && code <= 127) code += 128;
        break;
    case 2:
        if (code >= 64 && code <= 95)
            code -= 64;
        else if (code >= 96 && code <= 127)
            code += 32;
        break;
    case 3:
        if (code <= 31) {
            t_Inverse(window);
            code += 64;
        }
        break;
    case 4:
        if (code <= 31) {
            t_Color(window, 1);
            code += 64;
        }
        break;
    case escapePending:
        return escapeParameter(window, w, code, inverse, colour);
    default:
        break;
    }
    return {code, inverse, colour};
}

void t_DisplayMode(uint8_t window, int64_t mode)
{
    if (t_Window* w = createdwindow(window, "t_DisplayMode")) w->TextDisplayMode = mode;
}

void t_Normal(uint8_t window)
{
    if (t_Window* w = createdwindow(window, "t_Normal")) w->TextInverse = false;
}

void t_Inverse(uint8_t window)
{
    if (t_Window* w = createdwindow(window, "t_Inverse")) w->TextInverse = true;
}

void t_Reverse(uint8_t window)
{
    if (t_Window* w = createdwindow(window, "t_Reverse")) w->TextInverse = !w->TextInverse;
}

void t_Color(uint8_t window, int64_t colour)
{
    if (t_Window* w = createdwindow(window, "t_Color")) {
        w->TextColor = static_cast<uint8_t>((w->TextColor & 0x0F) | (colour & 15) << 4);
        w->RGBColor = palettecolor(colour & 15);
    }
}
