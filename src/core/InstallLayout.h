#pragma once
// Where a program finds its shipped data. Run from the build tree (or a copy unpacked
// anywhere) the data lies beside the executables; installed, the executables are in
// PREFIX/bin and the data in PREFIX/share/mvxbrxspecial, found relative to the
// executable so that a relocated prefix works.
#include <QString>

namespace mvx {

// The shipped data folder for a program whose executable lies in exeDir: exeDir when it
// holds the skins ("ecminterface"), else exeDir/../share/mvxbrxspecial when that does,
// else exeDir. No separator at the end.
[[nodiscard]] QString ShippedDataFolder(const QString &exeDir);

} // namespace mvx
