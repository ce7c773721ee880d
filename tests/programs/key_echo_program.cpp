// A program that writes every key it gets to standard output ("key: <value> <key position>")
// and ends on Escape.
#include "platform/log.h"
#include "vxtools.h"

#include <thread>

int main(int argc, char** argv)
{
    std::string bundle = argc > 1 && std::string(argv[1]).rfind("--bundle=", 0) == 0 ? argv[1] + 9 : "";
    return runprogram(argc, argv, [] {
        t_InitWindow(0, 24, 40, 5, 16, "MenloBold 16x32.font");
        t_WindowFront(0);
        logline("key echo: ready");
        for (;;) {
            int64_t value = t_NextKeyEvent();
            if (value < 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                continue;
            }
            logline("key: " + std::to_string(value) + " " + std::to_string(currentEvent().Index));
            if (value == 27) t_QuitProgram(0);
        }
    }, bundle);
}
