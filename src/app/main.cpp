#include "app/program.h"

#include "vxtools.h"

int main(int argc, char** argv)
{
    return runprogram(argc, argv, calvotrimexprogram);
}
