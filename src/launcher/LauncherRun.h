#pragma once
// The launcher program's start: one instance per user (a newer one takes over from an
// older), the sibling folders refreshed, the local server, the tray and its menu.
#include <QString>

class QApplication;

namespace mvx::spirit {

// Settings every launcher process needs: no quitting when a message box closes.
void ConfigureLauncherApp(QApplication &app);

// Runs the launcher; returns the exit code.
int RunLauncher(int argc, char *argv[]);

// Where the menu pictures and the tray icon are for a launcher in exeDir.
[[nodiscard]] QString PictureFolderFor(const QString &exeDir);
// True when exeDir is the build's staged home.
[[nodiscard]] bool IsBuildHome(const QString &exeDir);

} // namespace mvx::spirit
