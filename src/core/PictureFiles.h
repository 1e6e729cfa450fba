#pragma once
// Finding and loading picture files (skins, the launcher's menu). A skin folder may hold our own PNG pictures
// (with an optional "name@2x.png" for high-density screens) or pictures in the old
// formats; PNG is preferred, then ".gif", ".jpg", ".bmp". A missing picture is never
// an error: the finders answer an empty path and the loader a null pixmap.
#include <QPixmap>
#include <QString>
#include <QStringList>

namespace mvx::skin {

// Extensions tried in each folder, in this order.
[[nodiscard]] const QStringList &PictureExtensions();

// First existing file among windowDir + base + ext, then commonDir + base + ext, for
// each ext of PictureExtensions(). Either folder may be empty (then skipped); folders
// end with a separator. Empty when none exists.
[[nodiscard]] QString FindPicture(const QString &windowDir, const QString &commonDir, const QString &baseName);

// A picture named with a fixed old-format name ("checkbox.gif", "radio-s.bmp"): the
// PNG of the same base name beside it wins; otherwise the named file. Empty when
// neither exists.
[[nodiscard]] QString ResolveFixedPicture(const QString &path);

// Loads a picture for a screen of the given device pixel ratio. For a ".png" path and a
// ratio above 1, "name@2x.png" beside it is preferred and marked as 2x, so it shows at
// the logical size of the 1x picture. Null when the file is missing or undecodable.
[[nodiscard]] QPixmap LoadPicture(const QString &path, qreal devicePixelRatio);

} // namespace mvx::skin
