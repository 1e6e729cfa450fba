#include "core/PictureFiles.h"

#include <QFileInfo>
#include <QDateTime>
#include <QImageReader>
#include <QPixmapCache>

namespace mvx::skin {

namespace {

bool IsFile(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

QString WithSeparator(const QString &folder)
{
    if (folder.isEmpty() || folder.endsWith(u'/') || folder.endsWith(u'\\'))
        return folder;
    return folder + u'/';
}

} // namespace

const QStringList &PictureExtensions()
{
    static const QStringList extensions{QStringLiteral(".png"), QStringLiteral(".gif"),
                                        QStringLiteral(".jpg"), QStringLiteral(".bmp")};
    return extensions;
}

QString FindPicture(const QString &windowDir, const QString &commonDir, const QString &baseName)
{
    if (baseName.isEmpty())
        return {};
    for (const QString &dir : {windowDir, commonDir}) {
        if (dir.isEmpty())
            continue;
        const QString prefix = WithSeparator(dir) + baseName;
        for (const QString &ext : PictureExtensions()) {
            if (IsFile(prefix + ext))
                return prefix + ext;
        }
    }
    return {};
}

QString ResolveFixedPicture(const QString &path)
{
    if (path.isEmpty())
        return {};
    const QFileInfo info(path);
    const QString png = info.path() + u'/' + info.completeBaseName() + QStringLiteral(".png");
    if (IsFile(png))
        return png;
    return IsFile(path) ? path : QString();
}

namespace {

// Pictures are decoded once: hover and press swap them often. The key holds the
// file's size and time, so a skin file replaced on disk is read again.
QString CacheKey(const QFileInfo &info, int ratio)
{
    return QStringLiteral("mvxskin:%1:%2:%3:%4")
        .arg(info.absoluteFilePath())
        .arg(info.size())
        .arg(info.lastModified().toMSecsSinceEpoch())
        .arg(ratio);
}

QPixmap Decode(const QString &path, qreal devicePixelRatio);

} // namespace

QPixmap LoadPicture(const QString &path, qreal devicePixelRatio)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return {};
    const QString key = CacheKey(info, devicePixelRatio > 1.0 ? 2 : 1);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    pixmap = Decode(path, devicePixelRatio);
    if (!pixmap.isNull())
        QPixmapCache::insert(key, pixmap);
    return pixmap;
}

namespace {

QPixmap Decode(const QString &path, qreal devicePixelRatio)
{
    if (devicePixelRatio > 1.0 && path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) {
        const QString hiDpi = path.left(path.size() - 4) + QStringLiteral("@2x.png");
        if (IsFile(hiDpi)) {
            QImageReader reader(hiDpi);
            reader.setAutoTransform(false);
            QImage image = reader.read();
            if (!image.isNull()) {
                QPixmap pixmap = QPixmap::fromImage(std::move(image));
                pixmap.setDevicePixelRatio(2.0);
                return pixmap;
            }
        }
    }
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true); // old skins may carry a misleading extension
    const QImage image = reader.read();
    if (image.isNull())
        return {};
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(1.0);
    return pixmap;
}

} // namespace

} // namespace mvx::skin
