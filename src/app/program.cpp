#include "app/program.h"

#include "vxtools.h"

void calvotrimexprogram()
{
}
