#include "ui/SkinPictures.h"

namespace mvx::skin {

namespace {

QString WithSeparator(const QString &folder)
{
    if (folder.isEmpty() || folder.endsWith(u'/') || folder.endsWith(u'\\'))
        return folder;
    return folder + u'/';
}

} // namespace

QString CommonFolder(const QString &skinRoot)
{
    return WithSeparator(skinRoot) + QStringLiteral("common/");
}

QString WindowFolder(const QString &skinRoot, const QString &folder)
{
    return WithSeparator(skinRoot) + folder + u'/';
}

} // namespace mvx::skin
