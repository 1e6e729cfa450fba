#pragma once
// Font names stored in the settings come from another desktop ("MS Sans Serif", "宋体").
// These helpers give the family the pages are really drawn with: the stored family when it
// is installed, else an installed family that renders that script well (Latin: DejaVu Sans,
// Liberation Sans, Noto Sans ...; Chinese: Noto Serif CJK SC for Song-style names, Noto Sans
// CJK SC for Hei-style names ...), else the desktop's general font. Needs a QGuiApplication.
#include <QString>

namespace mvx {

class FontFallback final
{
public:
    [[nodiscard]] static bool IsInstalled(const QString &family);
    [[nodiscard]] static QString EnglishFamily(const QString &stored);
    [[nodiscard]] static QString ChineseFamily(const QString &stored);
};

} // namespace mvx
