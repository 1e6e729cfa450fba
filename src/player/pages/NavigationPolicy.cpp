#include "player/pages/NavigationPolicy.h"

#include "libs/sentra/SentraFacade.h"

#include <QDir>
#include <QFileInfo>

namespace mvx::pages {

void NavigationPolicy::setAllowedFolders(const QStringList &folders)
{
    m_folders.clear();
    for (const QString &f : folders) {
        QString clean = QDir::cleanPath(QFileInfo(f).absoluteFilePath());
        // Resolve links so a home reached through a symbolic link still matches.
        const QString canonical = QFileInfo(clean).canonicalFilePath();
        if (!canonical.isEmpty()) {
            clean = canonical;
        }
        m_folders.append(clean);
    }
}

void NavigationPolicy::setOnlyFile(const QString &file)
{
    m_onlyFile = file.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(file).absoluteFilePath());
}

NavigationPolicy::Decision NavigationPolicy::decide(const QUrl &url) const
{
    const QString scheme = url.scheme().toLower();
    if (!m_onlyFile.isEmpty()) {
        if (scheme == QLatin1String("about"))
            return url.path() == QLatin1String("blank") ? Decision::Allow : Decision::Refuse;
        const bool same = url.isLocalFile() && !url.hasQuery()
                          && QDir::cleanPath(QFileInfo(url.toLocalFile()).absoluteFilePath()) == m_onlyFile;
        return same ? Decision::Allow : Decision::Refuse;
    }
    if (url.host().compare(QLatin1String(sentra::CommentEditMarker), Qt::CaseInsensitive) == 0
        || url.toString().contains(QLatin1String(sentra::CommentEditMarker), Qt::CaseInsensitive)) {
        return Decision::CommentEdit;
    }
    if (scheme == QLatin1String("about")) {
        return url.path() == QLatin1String("blank") ? Decision::Allow : Decision::Refuse;
    }
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("mailto")) {
        return url.host().isEmpty() && scheme != QLatin1String("mailto") ? Decision::Refuse
                                                                         : Decision::OpenExternally;
    }
    if (!url.isLocalFile()) {
        return Decision::Refuse;
    }
    QString path = QDir::cleanPath(url.toLocalFile());
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (!canonical.isEmpty()) {
        path = canonical;
    }
    for (const QString &folder : m_folders) {
        if (path == folder || path.startsWith(folder + QLatin1Char('/'))) {
            return Decision::Allow;
        }
    }
    return Decision::Refuse;
}

} // namespace mvx::pages
