#include "core/InstallLayout.h"

#include <QDir>
#include <QFileInfo>

namespace mvx {

QString ShippedDataFolder(const QString &exeDir)
{
    const QString own = QDir::cleanPath(exeDir);
    if (QFileInfo(own + QStringLiteral("/ecminterface")).isDir())
        return own;
    const QString installed = QDir::cleanPath(own + QStringLiteral("/../share/mvxbrxspecial"));
    if (QFileInfo(installed + QStringLiteral("/ecminterface")).isDir())
        return installed;
    return own;
}

} // namespace mvx
