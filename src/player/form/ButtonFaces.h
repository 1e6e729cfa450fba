#pragma once
// Plain button pictures for the player's buttons when the skin has none: a rounded face
// with a short caption, in a normal and a greyed (disabled) look.
#include <QPixmap>
#include <QString>

namespace mvx::ButtonFaces {

// The caption drawn on a button ("▶" for btPlay); the tag itself for unknown ones.
[[nodiscard]] QString CaptionOf(const QString &tag);
[[nodiscard]] QPixmap Face(const QString &tag, QSize size, bool enabled, qreal devicePixelRatio);

} // namespace mvx::ButtonFaces
