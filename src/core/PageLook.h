#pragma once
// The colours the lesson pages are drawn in, from the display settings: by day the stored
// colours (red in the low byte), at night a fixed dark set that keeps every text readable.
// Also the page texture pictures and the contrast ratio used to check the night colours.
#include "core/AppState.h"

#include <QColor>
#include <QString>

namespace mvx {

namespace Key {
inline constexpr auto NightLook = "NightLook"; // Boolean, default "0": dark lesson pages
} // namespace Key

// The night look in force for the whole process: loaded and saved with the display settings.
[[nodiscard]] bool &NightLookOn();

class PageLook final
{
public:
    explicit PageLook(const DisplaySettings &settings, bool night = NightLookOn());

    [[nodiscard]] bool Night() const { return m_night; }
    // Colours in force, as "#RRGGBB".
    [[nodiscard]] QString Background() const;
    [[nodiscard]] QString English() const;
    [[nodiscard]] QString Chinese() const;
    [[nodiscard]] QString Comment() const;
    [[nodiscard]] QString Keyword() const;
    [[nodiscard]] QString CurSentence() const;
    [[nodiscard]] QString CommentPage() const;        // background of the comment page
    [[nodiscard]] QString CommentPicture() const;     // its picture: "my4.jpg" by day, "" at night
    [[nodiscard]] QString Link() const;               // links and prompt labels
    [[nodiscard]] QString PromptText() const;
    [[nodiscard]] QString Mask() const;               // background of a masked word

    // A settings colour (red in the low byte) as "#RRGGBB", and back.
    [[nodiscard]] static QString Hex(int settingsColour);
    [[nodiscard]] static QColor ToColor(int settingsColour);
    [[nodiscard]] static int FromColor(const QColor &colour);
    // WCAG 2 contrast ratio of two opaque colours: 1 (equal) to 21 (black on white).
    [[nodiscard]] static double Contrast(const QColor &a, const QColor &b);
    // The picture of texture n (1..10) under home: the first existing alltmpfile/n.png,
    // n.gif, n.jpg; "" (no picture) for any other n or when none exists. Absolute path.
    [[nodiscard]] static QString TextureFile(const QString &home, int n);
    // The night colours, for checks: texts and the backgrounds they stand on.
    [[nodiscard]] static QStringList NightTexts();
    [[nodiscard]] static QStringList NightBackgrounds();

private:
    DisplaySettings m_settings;
    bool m_night;
};

} // namespace mvx
