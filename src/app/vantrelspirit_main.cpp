#include "launcher/LauncherRun.h"

// The tray launcher "Morvex精灵".
int main(int argc, char *argv[])
{
    return mvx::spirit::RunLauncher(argc, argv);
}
