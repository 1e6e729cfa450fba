#include "library/ProgramShell.h"

int main(int argc, char *argv[])
{
    return mvx::RunMainProgram(argc, argv);
}
