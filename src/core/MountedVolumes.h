#pragma once
// Finding a file on a mounted volume (the "disc" of older installations): every mounted
// file system is asked for the path relative to its root.
#include <QString>
#include <QStringList>

namespace mvx {

// Root path (with trailing "/") of the first mounted volume holding relativePath
// ("\" or "/" separators), or an empty text. extraRoots are searched first (tests, pickers).
[[nodiscard]] QString FindOnMountedVolumes(const QString &relativePath, const QStringList &extraRoots = {});

} // namespace mvx
