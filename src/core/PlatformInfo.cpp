#include "PlatformInfo.h"

#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>

namespace mvx {

bool SystemPlatformInfo::htmlEngineUsable() const
{
    if (qEnvironmentVariableIsSet("MVX_NO_HTML_ENGINE"))
        return false;
    const QString explicitPath = qEnvironmentVariable("QTWEBENGINEPROCESS_PATH");
    if (!explicitPath.isEmpty())
        return QFileInfo(explicitPath).isExecutable();
    const QString libexec = QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath);
    return QFileInfo(libexec + QStringLiteral("/QtWebEngineProcess")).isExecutable();
}

} // namespace mvx
