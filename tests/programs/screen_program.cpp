// Calvotrimex's program that, when the application terminates, writes the text screen of
// window 0 to standard output: the line "screen:" and then its lines.
#include "app/program.h"
#include "platform/log.h"
#include "vxtools.h"

int main(int argc, char** argv)
{
    std::string bundle = argc > 1 && std::string(argv[1]).rfind("--bundle=", 0) == 0 ? argv[1] + 9 : "";
    terminationHandler = [] {
        std::string screen = t_GetScreen(0, "\r");
        for (char& c : screen)
            if (c == '\r') c = '\n';
        logline("screen:");
        logline(screen);
    };
    return runprogram(argc, argv, calvotrimexprogram, bundle);
}
