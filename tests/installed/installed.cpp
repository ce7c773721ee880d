// Opens a text window in the installed font, prints a line and ends.
#include "vxtools.h"

int main(int argc, char** argv)
{
    return runprogram(argc, argv, [] {
        t_InitWindow(0, 24, 80, 25, 16, "MenloRegular 16x32.font");
        t_Print(0, "installed: Hallo.");
        t_QuitProgram(0);
    });
}
