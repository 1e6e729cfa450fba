#pragma once
// Renders manifest items to PNG: the item's template (templates/<name>.svg) and its
// icon (icons/<name>.svg, inner SVG elements in a 24 x 24 grid) with the variables
// of the line and of the look filled in, at 1x ("name.png") and 2x ("name@2x.png").
//
// Variables: W H (size), W1 H1 (size less one), CX CY (centre), TX TY (caption
// start and baseline), TEXT (XML-escaped), FS (font size, 12),
// ISIZE IX IY IS (icon box, its left, top and scale), ICON, every KEY=value of the
// style's look (BG, BGA, FG, LINE, DY, ...) and of the line. A ${NAME} left unfilled
// is an error, so a typo never ships a broken picture.
#include "SkinManifest.h"

#include <QDir>
#include <QString>

namespace skingen {

class SkinRenderer
{
public:
    SkinRenderer(const QString &sourceDir, const QString &outputRoot);

    // Renders every item; false with *error on the first failure.
    bool RenderAll(const SkinManifest &manifest, QString *error);
    [[nodiscard]] int FilesWritten() const { return m_written; }

private:
    bool RenderOne(const SkinItem &item, const QString &look, const Vars &lookVars, QString *error);
    bool ReadSource(const QString &path, QString *text, QString *error);

    QDir m_source;
    QString m_outputRoot;
    QMap<QString, QString> m_cache;
    int m_written = 0;
};

} // namespace skingen
