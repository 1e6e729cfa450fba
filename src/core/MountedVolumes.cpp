#include "MountedVolumes.h"

#include "Helpers.h"

#include <QFileInfo>
#include <QStorageInfo>
#include <QStringList>

namespace mvx {

QString FindOnMountedVolumes(const QString &relativePath, const QStringList &extraRoots)
{
    QString rel = ToFsPath(relativePath);
    while (rel.startsWith(QLatin1Char('/')))
        rel.remove(0, 1);
    if (rel.isEmpty())
        return {};
    QStringList roots = extraRoots;
    // MVX_EXTRA_VOLUMES (colon-separated) lets a learner or a test name further roots.
    roots += qEnvironmentVariable("MVX_EXTRA_VOLUMES").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady())
            roots << volume.rootPath();
    for (QString root : roots) {
        if (!root.endsWith(QLatin1Char('/')))
            root += QLatin1Char('/');
        if (QFileInfo::exists(root + rel))
            return root;
    }
    return {};
}

} // namespace mvx
