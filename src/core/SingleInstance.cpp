#include "SingleInstance.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace mvx {

QString RuntimeFolder()
{
    QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
    QString folder = base.isEmpty()
        ? QDir::tempPath() + QStringLiteral("/MorvexSoft-") + QString::number(getuid())
        : base + QStringLiteral("/MorvexSoft");
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return folder;
}

SingleInstance::SingleInstance(const QString &name)
    : m_path(RuntimeFolder() + QLatin1Char('/') + name + QStringLiteral(".lock"))
{
}

bool SingleInstance::tryAcquire()
{
    if (m_held)
        return true;
    m_lock = std::make_unique<QLockFile>(m_path);
    m_lock->setStaleLockTime(0); // only a dead owner makes a lock stale, never its age
    m_held = m_lock->tryLock(0);
    return m_held;
}

void SingleInstance::release()
{
    if (m_lock && m_held)
        m_lock->unlock();
    m_held = false;
}

bool SingleInstance::isHeldElsewhere(const QString &name)
{
    // Read the lock's owner instead of taking the lock: a program starting at this very
    // moment must never find its own lock briefly taken by a probe.
    QLockFile probe(RuntimeFolder() + QLatin1Char('/') + name + QStringLiteral(".lock"));
    qint64 pid = 0;
    QString host, app;
    if (!probe.getLockInfo(&pid, &host, &app) || pid <= 0)
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

} // namespace mvx
