// A program on vxtools whose body never ends: quitting must still end the process cleanly.
#include "vxtools.h"
#include "platform/log.h"

#include <thread>

int main(int argc, char** argv)
{
    std::string bundle = argc > 1 && std::string(argv[1]).rfind("--bundle=", 0) == 0 ? argv[1] + 9 : "";
    return runprogram(argc, argv, [] {
        logline("busy: Start.");
        volatile double sum = 0;
        for (;;) {
            for (int i = 0; i < 1000000; ++i) sum = sum + 1.0;
            std::this_thread::yield();
        }
    }, bundle);
}
