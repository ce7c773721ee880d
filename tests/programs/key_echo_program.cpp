// A program that writes every key it gets to standard output ("key: <value> <key position>
// <mods> <cursor key> <function key>"), every menu selection ("menu: <tag>") and every click
// ("mouse: <mods>", then "click: <column> <row>"), and ends on the Escape key.
#include "platform/log.h"
#include "vxtools.h"

#include <algorithm>
#include <thread>

int main(int argc, char** argv)
{
    std::string bundle = argc > 1 && std::string(argv[1]).rfind("--bundle=", 0) == 0 ? argv[1] + 9 : "";
    const bool large = std::find(argv, argv + argc, std::string("--large")) != argv + argc;  // Calvotrimex's size
    return runprogram(argc, argv, [large] {
        t_InitWindow(0, 24, large ? 80 : 40, large ? 25 : 5, 16, "MenloBold 16x32.font");
        t_Print(0, "key echo");
        t_WindowFront(0);
        logline("key echo: ready");
        for (;;) {
            for (const t_MenuEvent& menu : takemenuevents()) logline("menu: " + std::to_string(menu.ItemAction));
            for (const t_Event& click : takemouseevents()) {
                logline("mouse: " + std::to_string(click.Mods));
                logline("click: " + std::to_string(click.ClickX) + " " + std::to_string(click.ClickY));
            }
            int64_t value = t_NextKeyEvent();
            if (value < 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                continue;
            }
            const t_Event key = currentEvent();
            logline("key: " + std::to_string(value) + " " + std::to_string(key.Index) + " " + std::to_string(key.Mods) +
                    " " + std::to_string(key.CursorKeyPressed) + " " + std::to_string(key.FunctionKeyPressed));
            if (key.Index == 53) t_QuitProgram(0);  // Escape; the pad's Clear gives 27 too
        }
    }, bundle);
}
