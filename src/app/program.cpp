#include "app/program.h"

#include "vxtools.h"

void calvotrimexprogram()
{
    t_InitWindow(0, 24, 80, 25, 16, "MenloBold 16x32.font");
    t_WindowAutoUpdate(0, false);
    t_WindowCenter(0);
    t_WindowFront(0);
}
