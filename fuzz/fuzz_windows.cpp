// Window creation, placement and the picture with any numbers and any fonts, followed by
// drawing into whatever was created.
#include "fuzz_windows_support.h"

#include <QImage>

namespace {

const t_Font* menlo = nullptr;

// The shipped font, no font, or a record of any fields with a little data.
t_Font anyFont(FuzzedDataProvider& input)
{
    switch (input.ConsumeIntegralInRange(0, 2)) {
    case 0: return *menlo;
    case 1: return t_Font{};
    default: {
        t_Font font;
        font.Format = input.ConsumeBool() ? 2 : fuzznumber(input);
        font.Start = input.ConsumeIntegral<uint8_t>();
        font.End = input.ConsumeIntegral<uint8_t>();
        font.Width = fuzznumber(input);
        font.Height = fuzznumber(input);
        font.Data = input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange(0, 4096));
        return font;
    }
    }
}

uint8_t anyWindow(FuzzedDataProvider& input)
{
    return input.ConsumeBool() ? input.ConsumeIntegralInRange<uint8_t>(0, 3) : input.ConsumeIntegral<uint8_t>();
}

// Sizes up to a few hundred pixels mostly, so that a picture stays quick.
int64_t anySize(FuzzedDataProvider& input)
{
    return input.ConsumeBool() ? input.ConsumeIntegralInRange<int64_t>(0, 400) : fuzznumber(input);
}

void windowStep(FuzzedDataProvider& input)
{
    const uint8_t w = anyWindow(input);
    switch (input.ConsumeIntegralInRange(0, 11)) {
    case 0: {
        const int64_t depth = input.ConsumeBool() ? int64_t{1} << input.ConsumeIntegralInRange(0, 5) : fuzznumber(input);
        const int64_t width = anySize(input), height = anySize(input);
        const int64_t borderWidth = fuzznumber(input), borderHeight = fuzznumber(input);
        const bool autoUpdate = input.ConsumeBool(), title = input.ConsumeBool();
        t_InitWindow(w, depth, autoUpdate, width, height, borderWidth, borderHeight, anyFont(input), title);
        break;
    }
    case 1: {
        const int64_t depth = fuzznumber(input), columns = fuzznumber(input), lines = fuzznumber(input);
        t_InitWindow(w, depth, columns, lines, fuzznumber(input), input.ConsumeBool() ? "MenloRegular 16x32.font" : "Keine.font");
        break;
    }
    case 2: (void)t_WindowPos(w, input.ConsumeIntegralInRange<int64_t>(-1, 21)); break;
    case 3: {
        const int64_t x = fuzznumber(input), y = fuzznumber(input), width = fuzznumber(input);
        t_WindowSize(w, x, y, width, fuzznumber(input));
        break;
    }
    case 4: t_WindowFont(w, anyFont(input)); break;
    case 5: (void)t_WindowImage(w); break;
    case 6: {
        const uint8_t code = input.ConsumeIntegral<uint8_t>(), colour = input.ConsumeIntegral<uint8_t>();
        const int64_t x = fuzznumber(input);
        t_PrintSymbol(w, code, colour, x, fuzznumber(input));
        break;
    }
    case 7: input.ConsumeBool() ? t_ScrollUp(w) : t_ScrollDown(w); break;
    case 8: t_WindowTitleVisible(w, input.ConsumeBool()); break;
    case 9: t_ColorBorder(w, fuzznumber(input)); break;
    case 10: (void)t_GetScreen(w, "\r"); break;
    default: t_Print(w, input.ConsumeRandomLengthString(64)); break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    startfuzzapplication();
    menlo = new t_Font(t_LoadFontResource("MenloBold 16x32.font"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    forgetwindows();
    while (input.remaining_bytes() > 0) windowStep(input);
    // Every graphic block lies inside the pool above its reserved bottom, its text block below it.
    for (const t_Window& w : windowTable) {
        if (!w.Initialized) continue;
        if (w.MemoryStart < 65536 || w.MemoryEnd > memoryTop || w.MemoryEnd < w.MemoryStart) __builtin_trap();
        if (w.TextMemoryStart >= 0 && w.TextMemoryEnd != w.MemoryStart - 1) __builtin_trap();
    }
    return 0;
}
