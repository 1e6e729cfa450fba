#pragma once
// Finding a file on a mounted volume (the "disc" of older installations): the local
// mounted file systems are asked for the path relative to their roots. Network and remote
// file systems are never asked, and every question runs in a worker with a short bound,
// so a stale or slow mount can never hold up the program.
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace mvx {

struct MountEntry
{
    QString root; // mount point, without escapes
    QString type; // file-system type ("ext4", "nfs4", "fuse.sshfs", ...)
};

// The entries of a mount table in the /proc/self/mounts format ("\040"-style escapes undone).
[[nodiscard]] QList<MountEntry> ParseMountTable(const QByteArray &table);
// True for file systems that may hold a learner's files on this machine: not network or
// remote ones (nfs, cifs/smb, sshfs and other fuse.* mounts, 9p, ...), not automounters
// and not the kernel's own virtual file systems.
[[nodiscard]] bool IsProbedFileSystem(const QString &type);

// How long one look-up waits for the volumes' answers.
inline constexpr int kVolumeProbeBoundMs = 500;

// The first of roots (in order) under which `exists` reports relativePath, asking every
// root at once in workers; roots that have not answered within boundMs count as not
// holding it. Returns the root with a trailing "/", or "".
[[nodiscard]] QString FindUnderRoots(const QString &relativePath, const QStringList &roots,
                                     const std::function<bool(const QString &path)> &exists,
                                     int boundMs = kVolumeProbeBoundMs);

// Root path (with trailing "/") of the first mounted volume holding relativePath
// ("\" or "/" separators), or an empty text. extraRoots are searched first (tests, pickers).
[[nodiscard]] QString FindOnMountedVolumes(const QString &relativePath, const QStringList &extraRoots = {});

} // namespace mvx
