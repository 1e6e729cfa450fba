#pragma once
// One running instance per program (or per window caption) and user: a QLockFile
// under $XDG_RUNTIME_DIR/MorvexSoft/ (or a private temporary folder), which notices
// when its owner died, so a crash never blocks the next start.
#include <QLockFile>
#include <QString>
#include <memory>

namespace mvx {

// Folder for per-user locks and local sockets; created with owner-only rights.
[[nodiscard]] QString RuntimeFolder();

class SingleInstance final
{
public:
    explicit SingleInstance(const QString &name);
    // True when this process now holds the lock (no other live instance).
    bool tryAcquire();
    void release();
    [[nodiscard]] bool isHeld() const { return m_held; }
    [[nodiscard]] QString lockPath() const { return m_path; }
    // A live process (this one included) holds the lock of that name. Only reads the
    // lock file, so it never disturbs an owner taking the lock at the same moment.
    [[nodiscard]] static bool isHeldElsewhere(const QString &name);

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
    bool m_held = false;
};

} // namespace mvx
