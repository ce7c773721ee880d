// A stream of any bytes, with escapes and control codes, printed into a small window at any
// depth, mixed with the other printing, cursor and scrolling routines.
#include "fuzz_windows_support.h"

#include <array>

namespace {

const t_Font* font = nullptr;

void printStep(FuzzedDataProvider& input)
{
    constexpr uint8_t w = 1;
    switch (input.ConsumeIntegralInRange(0, 15)) {
    case 0: t_PrintChar(w, input.ConsumeIntegral<uint8_t>()); break;
    case 1: t_PrintTab(w, fuzznumber(input), input.ConsumeIntegral<uint8_t>()); break;
    case 2: t_Htab(w, fuzznumber(input)); break;
    case 3: t_TextHline(w, fuzznumber(input), fuzznumber(input), fuzznumber(input), input.ConsumeIntegral<uint8_t>()); break;
    case 4: t_Header(w, input.ConsumeRandomLengthString(40), input.ConsumeRandomLengthString(40)); break;
    case 5: t_RedirectOutput(w, input.ConsumeIntegralInRange(0, 3)); break;
    case 6: t_DisplayMode(w, input.ConsumeIntegralInRange<int64_t>(-1, 100)); break;
    case 7: t_PrintSymbol(w, input.ConsumeIntegral<uint8_t>(), input.ConsumeIntegral<uint8_t>(), fuzznumber(input), fuzznumber(input)); break;
    case 8: windowTable[w].ScrollLock = input.ConsumeBool(); break;
    case 9: input.ConsumeBool() ? t_ScrollUp(w) : t_ScrollDown(w); break;
    case 10: t_PrintControl(w, input.ConsumeIntegral<uint8_t>()); break;
    case 11: t_TextLine(w); break;
    case 12: (void)t_GetScreen(w, input.ConsumeBool() ? "\r" : "\n"); break;
    default: t_Print(w, input.ConsumeRandomLengthString(200)); break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    startfuzzapplication();
    font = new t_Font(t_LoadFontResource("MenloBold 16x32.font"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    constexpr std::array<int64_t, 6> depths{1, 4, 8, 16, 24, 32};
    FuzzedDataProvider input(data, size);
    forgetwindows();
    const int64_t depth = depths[input.ConsumeIntegralInRange<size_t>(0, depths.size() - 1)];
    const int64_t columns = input.ConsumeIntegralInRange(2, 12), lines = input.ConsumeIntegralInRange(1, 6);
    t_InitWindow(1, depth, false, columns * font->Width, lines * font->Height, 0, 0, *font, true);
    if (!windowTable[1].Initialized) __builtin_trap();
    while (input.remaining_bytes() > 0) printStep(input);
    return 0;
}
