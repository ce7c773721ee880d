#include "app/program.h"

#include "app/benchmark.h"
#include "app/result_file.h"
#include "vxtools.h"

#include <ctime>
#include <tuple>

namespace {

const t_Font& boldFont()
{
    static const t_Font font = t_LoadFontResource("MenloBold 16x32.font");
    return font;
}

const t_Font& regularFont()
{
    static const t_Font font = t_LoadFontResource("MenloRegular 16x32.font");
    return font;
}

// Runs the benchmark; every measurement and the answer go to the result file when one was
// asked for.
std::pair<int64_t, double> measure()
{
    RunResult result{.version = CALVOTRIMEX_VERSION, .time = utctime(std::time(nullptr))};
    describemachine(result);
    RampHooks hooks = poolramphooks();
    hooks.measured = [&result](const RampPass& pass) { result.passes.push_back(pass); };
    std::tie(result.threads, result.speed) = maximumthreads(true, hooks);
    writeresult(result);
    return {result.threads, result.speed};
}

}  // namespace

void calvotrimexprogram()
{
    t_InitWindow(0, 24, 80, 25, 16, "MenloBold 16x32.font");
    t_WindowAutoUpdate(0, false);
    t_WindowCenter(0);
    t_WindowFront(0);
    const uint8_t window = t_FirstWindow;
    t_Header(window, "Calvotrimex", "\u00A9 2026 Calvotrimex authors");
    t_WindowFont(window, regularFont());
    t_TextLine(window);
    t_Cr(window);
    t_WindowFont(window, boldFont());
    t_Print(window, "Anzahl der maximal verfügbaren parallelen Threads wird berechnet:");
    t_Cr(window);
    t_WindowFont(window, regularFont());
    t_Cr(window);
    t_WindowUpdate(0, false);

    const auto [threads, speed] = measure();

    t_Cr(window);
    t_WindowFont(window, boldFont());
    t_Print(window, "Dieser Computer kann " + std::to_string(threads) + " Threads parallel verarbeiten.");
    t_Cr(window);
    t_Cr(window);
    t_Print(window, "Die maximale Geschwindigkeit beträgt dabei" + formatreal(32, 3, 2, true, speed) + " GFLOPs.");
    t_Cr(window);
    t_WindowFont(window, regularFont());
    t_WindowUpdate(0, false);
    t_QuitProgram(0);
}
