#pragma once
// The maker's programs as the launcher sees them: where each is installed (the shared
// settings store), which file starts it, and whether one of its windows is open (the
// lock the program holds while that window exists).
#include <QString>
#include <QStringList>

namespace mvx::spirit {

inline constexpr int kLauncherVersion = 804;

// Program keys of the settings store (application = key, section "User").
namespace ProgramKey {
inline constexpr auto Vocabra = "vocabra7";
inline constexpr auto Mirada = "MvxMirada";
inline constexpr auto Readola = "readola2003";
inline constexpr auto Echomax = "echomaxpro";
inline constexpr auto BrxSpecial = "mvxbrxspecial";
inline constexpr auto BrxStandard = "mvxbrxstandard";
inline constexpr auto Sentra = "SOFTWARE\\MorvexSoft\\Sentra"; // a registry key of its own
} // namespace ProgramKey

// A value of a program's settings (the sentence program's registry key included).
[[nodiscard]] QString ProgramValue(const QString &programKey, const QString &name);
// The program's install folder with "/" at its end, or "" when unknown.
[[nodiscard]] QString InstallFolder(const QString &programKey);
// The executable for a file name in the folder ("sentra.exe" also finds "sentra"), or
// "" when the name holds a path or ".." or no executable file is there.
[[nodiscard]] QString ProgramFile(const QString &folder, const QString &fileName);

// A window with this caption is open: the lock its program holds is held. The main
// program's two captions are its single-instance lock.
[[nodiscard]] bool IsWindowOpen(const QString &caption);
// The captions of the suite's windows; while one is open the launcher does not exit.
[[nodiscard]] const QStringList &SuiteCaptions();
[[nodiscard]] bool IsSuiteProgramRunning();

// The launcher's own local server (and that of a program whose window may be asked
// to show itself again).
[[nodiscard]] QString ServerName(const QString &program);

// Copies the launcher and its menu pictures into the sibling programs' folders:
// pictures only where missing, the program only when ours is newer (through a
// temporary name and a rename, so a running copy is never written into). Our own
// folder is skipped. Returns the number of files copied.
int RefreshSiblingFolders(const QString &launcherPath, const QString &pictureFolder);
// Replaces target by source when source is newer; false when nothing was copied.
bool CopyIfNewer(const QString &source, const QString &target);

} // namespace mvx::spirit
