#pragma once
// Skin folders of a window; finding and loading the pictures is in core/PictureFiles.h.
#include "core/PictureFiles.h"

namespace mvx::skin {

// The common skin folder under a skin root: root + "/common/".
[[nodiscard]] QString CommonFolder(const QString &skinRoot);
// A window's skin folder: root + "/" + folder + "/".
[[nodiscard]] QString WindowFolder(const QString &skinRoot, const QString &folder);

} // namespace mvx::skin
