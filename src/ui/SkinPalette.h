#pragma once
// The colours of the skin, shared by the windows' default chrome and the skin
// sources (data/ecminterface/skins.txt uses the same values).
#include <QColor>

namespace mvx::skin::palette {

inline const QColor Window{0xF5, 0xF7, 0xFA};    // window body
inline const QColor TitleBand{0x2F, 0x4F, 0x6F}; // title band
inline const QColor TitleText{0xFF, 0xFF, 0xFF};
inline const QColor Border{0x9D, 0xB0, 0xC6};
inline const QColor Text{0x22, 0x2B, 0x36};
inline const QColor Accent{0x3B, 0x6E, 0xA8};

} // namespace mvx::skin::palette
