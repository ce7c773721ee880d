// A program on vxtools whose body never ends: quitting must still end the process cleanly.
// With --paused it waits in the pause on Control-S instead of computing, with --panel in an
// open panel nobody answers.
#include "vxtools.h"
#include "events/keyboard.h"
#include "platform/log.h"

#include <thread>

int main(int argc, char** argv)
{
    std::string bundle = argc > 1 && std::string(argv[1]).rfind("--bundle=", 0) == 0 ? argv[1] + 9 : "";
    const std::string mode = argc > 2 ? argv[2] : "";
    return runprogram(argc, argv, [mode] {
        if (mode == "--panel") {
            runAsync([] {
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                logline("busy: Start.");
            });
            t_OpenPanel("Warten", "Niemand antwortet.", "", true, false);
        }
        const bool paused = mode == "--paused";
        logline("busy: Start.");
        if (paused) {
            t_KeyEventHandler(0, KeyEventRecord{1, "\x13", 0x40000});
            t_PauseOnKey(19, true);  // no key or menu event will come
        }
        volatile double sum = 0;
        for (;;) {
            for (int i = 0; i < 1000000; ++i) sum = sum + 1.0;
            std::this_thread::yield();
        }
    }, bundle);
}
