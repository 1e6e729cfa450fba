#include "WorkingFiles.h"

#include <QDir>
#include <QRandomGenerator>

namespace mvx::WorkingFiles {

void EnsureFolders(const QString &base, const QStringList &folders)
{
    QDir dir(base);
    for (const QString &f : folders)
        if (!dir.exists(f))
            dir.mkpath(f);
}

QString NewRandomSoundBase(const QString &home)
{
    const quint32 n = QRandomGenerator::global()->bounded(1u, 10000001u);
    return home + QStringLiteral("/alltmpfile/rndsnd") + QString::number(n);
}

int DeleteRandomSounds(const QString &home)
{
    QDir dir(home + QLatin1Char('/') + AllTmpFile);
    int count = 0;
    const QStringList names = dir.entryList({QStringLiteral("rndsnd*.*")}, QDir::Files);
    for (const QString &name : names)
        count += dir.remove(name) ? 1 : 0;
    return count;
}

} // namespace mvx::WorkingFiles
